// CUsbPort::ReadVersionReply over a real packet pipe whose far end delivers the fuzzer's
// bytes as one reply. Besides crashes, it checks what the decoding promises: a reply is taken
// only when all 36 bytes arrived with the reply header, a short one leaves the caller's record
// untouched, a wrong header clears it, and a good one yields each item's six characters and
// big-endian checksum.
#include <cstdlib>
#include <cstring>
#include <string>

#include "printer/PrinterProtocol.h"
#include "printer/UsbPort.h"
#include "tests/harness/FakeUsbLibrary.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FakeUsbLibrary library;
    CUsbPort port;
    port.SetDeviceIds("2E91", "5D36");
    Require(port.Open() == TRUE);
    library.Latest("PIPE01").Send(std::string(reinterpret_cast<const char*>(data), size));

    VersionInfo info;
    std::memset(&info, 0xA5, sizeof(info));
    const VersionInfo before = info;
    const BOOL decoded = port.ReadVersionReply(info);

    // A packet longer than the reply is cut at its length, as a bulk read of 36 bytes is.
    const bool complete = size >= static_cast<size_t>(kVersionReplySize);
    const bool headed = complete && std::memcmp(data, kReplyHeader, sizeof(kReplyHeader)) == 0;
    Require((decoded != FALSE) == headed);
    if (!complete) {
        Require(std::memcmp(&info, &before, sizeof(info)) == 0);
        Require(port.m_nLastError == PORT_IO_FAILED);
        return 0;
    }
    Require(port.m_nLastError == PORT_OK);
    for (int k = 0; k < kDataSlotCount; ++k) {
        const VersionEntry& entry = info.item[k];
        const uint8_t* record = data + 4 + 8 * k;
        if (!headed) {
            const VersionEntry cleared{};
            Require(std::memcmp(&entry, &cleared, sizeof(entry)) == 0);
            continue;
        }
        Require(std::memcmp(entry.version, record, 6) == 0);
        Require(entry.version[6] == '\0' && entry.version[7] == '\0');
        Require(entry.checksum == static_cast<DWORD>(record[6]) * 256 + record[7]);
    }
    return 0;
}
