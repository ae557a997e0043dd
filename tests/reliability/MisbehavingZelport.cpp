// A vendor library whose entry points misbehave in the way RXT9_TEST_ZELPORT_MODE names, for
// the tests of what the tool makes of such a library. With RXT9_TEST_ZELPORT_LOG set, the
// library notes in that file that it was loaded, before the tool calls anything.
//   refuse-vendor        SetVenderID refuses every id
//   handles-not-open     device 0's handles are numbers of no open file
//   standard-streams     device 0's control handle is stderr, PIPE00 stdout, PIPE01 stdin
//   streams-after-count  the printer count's probes get numbers of no open file; every later
//                        open of PIPE00 gets stdout and of PIPE01 stdin
//   other-files          device 0's control handle and PIPE00 are /dev/null, PIPE01 /dev/zero
//   unload-never-returns every open fails, and the library's unload waits for ever
//   (anything else)      the vendor id is accepted and every open fails
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "tests/support/ForeignFile.h"
#include "zelport/zelport.h"

namespace {

constexpr HANDLE kNoSuchFile = 987654;
constexpr HANDLE kStandardInput = 0;
constexpr HANDLE kStandardOutput = 1;
constexpr HANDLE kStandardError = 2;

std::string Mode() {
    const char* mode = std::getenv("RXT9_TEST_ZELPORT_MODE");
    return mode != nullptr ? mode : "";
}

// Notes the load as the library is loaded: before any entry point, even one the tool
// refuses in the end.
struct LoadNote {
    LoadNote() {
        if (const char* log = std::getenv("RXT9_TEST_ZELPORT_LOG")) {
            std::ofstream(log, std::ios::app) << "loaded in mode \"" << Mode() << "\"\n";
        }
    }
};
const LoadNote g_loadNote;

struct UnloadWait {
    UnloadWait() = default;
    UnloadWait(const UnloadWait&) = delete;
    UnloadWait& operator=(const UnloadWait&) = delete;
    ~UnloadWait() {
        if (Mode() == "unload-never-returns") {
            for (;;) {
                pause();
            }
        }
    }
};
const UnloadWait g_unloadWait;

// The printer count probes a device with one control and two pipe opens; the port's own
// opens come after that.
int g_pipeOpens = 0;

HANDLE OpenHandle(bool control, bool pipeOut, uint32_t deviceIndex) {
    const std::string mode = Mode();
    if (deviceIndex != 0) {
        return INVALID_HANDLE_VALUE;
    }
    if (mode == "handles-not-open") {
        return kNoSuchFile;
    }
    if (mode == "standard-streams") {
        return control ? kStandardError : pipeOut ? kStandardOutput : kStandardInput;
    }
    if (mode == "streams-after-count") {
        if (control || ++g_pipeOpens <= 2) {
            return kNoSuchFile;
        }
        return pipeOut ? kStandardOutput : kStandardInput;
    }
    if (mode == "other-files") {
        const bool reading = !control && !pipeOut;
        return testing_support::OpenForeignFile(reading ? "/dev/zero" : "/dev/null", !reading);
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

extern "C" {

BOOL SetVenderID(uint32_t /*vendorId*/) {
    return Mode() == "refuse-vendor" ? 0 : 1;
}

BOOL SetProductID(const uint16_t* /*productIds*/, uint32_t /*count*/) {
    return 1;
}

HANDLE UsbOpenCont(uint32_t deviceIndex, uint32_t /*reserved*/) {
    return OpenHandle(true, false, deviceIndex);
}

HANDLE UsbOpenBulk(const char* pipeName, uint32_t deviceIndex) {
    const bool pipeOut = pipeName != nullptr && std::strcmp(pipeName, "PIPE00") == 0;
    return OpenHandle(false, pipeOut, deviceIndex);
}

BOOL UsbDeviceIoControl(HANDLE /*device*/, uint32_t /*code*/, void* /*in*/, uint32_t /*inSize*/,
                        void* /*out*/, uint32_t /*outSize*/, uint32_t* returned) {
    if (returned != nullptr) {
        *returned = 0;
    }
    return 0;
}

}  // extern "C"
