// CStatusQuery::Query over real packet pipes whose far ends deliver the fuzzer's bytes as the
// status reply and the identity reply; the first input byte chooses whether the port's pipes
// are open at all. Besides crashes, it checks the query's promises: what was sent, when it
// succeeds, the failure code, outputs written only on success and then exactly as decoded.
// The query's pause of 50 ms before each reply passes on the fuzzers' virtual clock
// (fuzz/FuzzClock.h).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "printer/PrinterProtocol.h"
#include "printer/StatusQuery.h"
#include "printer/UsbPort.h"
#include "tests/harness/FakeUsbLibrary.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const std::string kStatusInquiry("\x1B\x47\x44\x30\x00\x00\x03\x02\x16\x17", 10);
const std::string kIdentityRead(
    "\x1B\x61\x36\x36\x41\xBE\x00\x00\x00\x06\x00\x00\x00\x30\xFF\xFF\xFF\xF9\xFF\xFF\xFF\xCF", 22);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const bool pipesOpen = input.Byte() % 8 != 0;
    const std::string status = input.Sized();
    const std::string identity = input.Rest();

    FakeUsbLibrary library;
    CUsbPort port;
    port.SetDeviceIds("2E91", "5D36");
    if (pipesOpen) {
        Require(port.Open() == TRUE);
        library.Latest("PIPE01").Send(status);
        library.Latest("PIPE01").Send(identity);
    }

    DWORD errorCode = 0xDEADBEEF;
    WORD printingState = 0xBEEF;
    std::string modelCode = "untouched";
    std::string printerId = "id:";
    CStatusQuery query;
    const BOOL answered = query.Query(port, &errorCode, &printingState, &modelCode, &printerId);

    if (!pipesOpen) {
        Require(answered == FALSE && query.m_nLastError == 1);
        Require(library.opens.empty());
        return 0;
    }
    const bool statusComplete = status.size() >= static_cast<size_t>(kStatusReplySize);
    const bool statusHeaded =
        statusComplete && std::memcmp(status.data(), kReplyHeader, sizeof(kReplyHeader)) == 0;
    const bool identityComplete = identity.size() >= static_cast<size_t>(kIdentityReplySize);

    std::vector<std::string> sent = library.Latest("PIPE00").TakePackets();
    std::vector<std::string> expectedSent = {kStatusInquiry};
    if (statusHeaded) {
        expectedSent.push_back(kIdentityRead);
    }
    Require(sent == expectedSent);
    Require((answered != FALSE) == (statusHeaded && identityComplete));

    if (!answered) {
        Require(errorCode == 0xDEADBEEF && printingState == 0xBEEF);
        Require(modelCode == "untouched" && printerId == "id:");
        Require(query.m_nLastError == (statusComplete && !statusHeaded ? 1 : PORT_IO_FAILED));
        return 0;
    }
    const auto byte = [&](size_t index) { return static_cast<uint8_t>(status[index]); };
    Require(errorCode == static_cast<DWORD>(byte(5)) * 256 + byte(6));
    Require(printingState == byte(16));
    char code[3];
    std::snprintf(code, sizeof(code), "%02x", byte(4));
    Require(modelCode == code);
    Require(printerId == "id:" + identity.substr(22, 6));
    Require(query.m_nLastError == 0);
    return 0;
}
