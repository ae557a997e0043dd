// A ZELPORT.dll whose entry points misbehave in the way RXT9_TEST_ZELPORT_MODE names, for the
// tests of what rxt9-update.exe makes of such a library. Only device 0 exists.
//   refuse-vendor     SetVenderID refuses every id
//   handles-not-open  every handle is a number of no open object
//   null-handles      every handle is 0
//   standard-streams  the control handle is standard error, PIPE00 standard output and
//                     PIPE01 standard input
//   nul-device        every handle is the NUL device: writes vanish, reads end at once
//   ordinary-file     every handle is the same ordinary file: reads bring back what was written
//   silent-pipe       every handle is a pipe whose other end the library holds and never
//                     uses: writes go in, reads wait for good
//   (anything else)   the vendor id is accepted and every open fails
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#define ZELPORT_EXPORT extern "C" __declspec(dllexport)

namespace {

const auto kNoSuchObject = static_cast<intptr_t>(0x00FF1234);

std::string Mode() {
    const char* mode = std::getenv("RXT9_TEST_ZELPORT_MODE");
    return mode != nullptr ? mode : "";
}

intptr_t OpenFile(const std::string& path, DWORD flags) {
    return reinterpret_cast<intptr_t>(
        ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | flags, nullptr));
}

// The file that every handle of ordinary-file mode opens; it goes with its last handle.
std::string SharedFilePath() {
    char directory[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + "rxt9-misbehaving-" + std::to_string(::GetCurrentProcessId());
}

intptr_t OpenHandle(DWORD standardHandle, uint32_t deviceIndex) {
    const auto invalid = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
    const std::string mode = Mode();
    if (deviceIndex != 0) {
        return invalid;
    }
    if (mode == "handles-not-open") {
        return kNoSuchObject;
    }
    if (mode == "null-handles") {
        return 0;
    }
    if (mode == "standard-streams") {
        return reinterpret_cast<intptr_t>(::GetStdHandle(standardHandle));
    }
    if (mode == "nul-device") {
        return OpenFile("NUL", 0);
    }
    if (mode == "ordinary-file") {
        return OpenFile(SharedFilePath(), FILE_FLAG_DELETE_ON_CLOSE);
    }
    if (mode == "silent-pipe") {
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        if (::CreatePipe(&readEnd, &writeEnd, nullptr, 1 << 16) == FALSE) {
            return invalid;
        }
        return reinterpret_cast<intptr_t>(standardHandle == STD_INPUT_HANDLE ? readEnd : writeEnd);
    }
    return invalid;
}

}  // namespace

ZELPORT_EXPORT int32_t SetVenderID(uint32_t /*vendorId*/) {
    return Mode() == "refuse-vendor" ? 0 : 1;
}

ZELPORT_EXPORT int32_t SetProductID(const uint16_t* /*productIds*/, uint32_t /*count*/) {
    return 1;
}

ZELPORT_EXPORT intptr_t UsbOpenCont(uint32_t deviceIndex, uint32_t /*reserved*/) {
    return OpenHandle(STD_ERROR_HANDLE, deviceIndex);
}

ZELPORT_EXPORT intptr_t UsbOpenBulk(const char* pipeName, uint32_t deviceIndex) {
    const bool pipeOut = pipeName != nullptr && std::strcmp(pipeName, "PIPE00") == 0;
    return OpenHandle(pipeOut ? STD_OUTPUT_HANDLE : STD_INPUT_HANDLE, deviceIndex);
}

ZELPORT_EXPORT int32_t UsbDeviceIoControl(intptr_t /*device*/, uint32_t /*code*/, void* /*in*/,
                                          uint32_t /*inSize*/, void* /*out*/, uint32_t /*outSize*/,
                                          uint32_t* returned) {
    if (returned != nullptr) {
        *returned = 0;
    }
    return 0;
}
