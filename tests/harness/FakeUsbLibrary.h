// Vendor library entry points for tests in one process: each open of a pipe hands out the
// near end of a fresh packet pipe whose far end the test reads and writes.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "printer/UsbLibrary.h"
#include "tests/harness/FakePipe.h"

class FakeUsbLibrary {
public:
    struct Open {
        std::string pipe;  // "PIPE00", "PIPE01" or "CONT"
        uint32_t index;
        std::shared_ptr<FakePipe> pipeEnds;
    };

    FakeUsbLibrary();
    ~FakeUsbLibrary();
    FakeUsbLibrary(const FakeUsbLibrary&) = delete;
    FakeUsbLibrary& operator=(const FakeUsbLibrary&) = delete;

    int devices = 1;
    bool acceptVendor = true;
    std::set<std::pair<std::string, uint32_t>> failingOpens;  // pipe name and device index
    HANDLE nextOutHandle = INVALID_HANDLE_VALUE;  // handed out once for the next PIPE00 open
    std::vector<uint32_t> vendorIds;
    std::vector<uint16_t> productIds;
    std::vector<Open> opens;

    // The far end of the newest open of a pipe of device 0.
    FakePipe& Latest(const std::string& pipe);

private:
    static BOOL SetVenderID(uint32_t vendorId);
    static BOOL SetProductID(const uint16_t* ids, uint32_t count);
    static HANDLE UsbOpenCont(uint32_t index, uint32_t reserved);
    static HANDLE UsbOpenBulk(const char* pipe, uint32_t index);
    static BOOL UsbDeviceIoControl(HANDLE, uint32_t, void*, uint32_t, void*, uint32_t, uint32_t*);
    HANDLE OpenPipe(const std::string& pipe, uint32_t index);

    CUsbLibrary m_saved;
};
