#include "tests/harness/FakeUsbLibrary.h"

#include <stdexcept>

namespace {

FakeUsbLibrary* g_fake = nullptr;

}  // namespace

FakeUsbLibrary::FakeUsbLibrary() : m_saved(g_usbLibrary) {
    g_fake = this;
    g_usbLibrary = {nullptr,      &SetVenderID, &SetProductID,
                    &UsbOpenCont, &UsbOpenBulk, &UsbDeviceIoControl};
}

FakeUsbLibrary::~FakeUsbLibrary() {
    g_usbLibrary = m_saved;
    g_fake = nullptr;
}

FakePipe& FakeUsbLibrary::Latest(const std::string& pipe) {
    for (auto it = opens.rbegin(); it != opens.rend(); ++it) {
        if (it->pipe == pipe && it->index == 0 && it->pipeEnds) {
            return *it->pipeEnds;
        }
    }
    throw std::logic_error("no such pipe was opened");
}

HANDLE FakeUsbLibrary::OpenPipe(const std::string& pipe, uint32_t index) {
    if (static_cast<int>(index) >= devices || failingOpens.count({pipe, index}) != 0) {
        opens.push_back({pipe, index, nullptr});
        return INVALID_HANDLE_VALUE;
    }
    if (pipe == "PIPE00" && nextOutHandle != INVALID_HANDLE_VALUE) {
        const HANDLE handle = nextOutHandle;
        nextOutHandle = INVALID_HANDLE_VALUE;
        opens.push_back({pipe, index, nullptr});
        return handle;
    }
    auto ends = std::make_shared<FakePipe>();
    opens.push_back({pipe, index, ends});
    return ends->NearEnd();
}

BOOL FakeUsbLibrary::SetVenderID(uint32_t vendorId) {
    g_fake->vendorIds.push_back(vendorId);
    return g_fake->acceptVendor ? TRUE : FALSE;
}

BOOL FakeUsbLibrary::SetProductID(const uint16_t* ids, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        g_fake->productIds.push_back(ids[i]);
    }
    return TRUE;
}

HANDLE FakeUsbLibrary::UsbOpenCont(uint32_t index, uint32_t /*reserved*/) {
    return g_fake->OpenPipe("CONT", index);
}

HANDLE FakeUsbLibrary::UsbOpenBulk(const char* pipe, uint32_t index) {
    return g_fake->OpenPipe(pipe, index);
}

BOOL FakeUsbLibrary::UsbDeviceIoControl(HANDLE, uint32_t, void*, uint32_t, void*, uint32_t,
                                        uint32_t*) {
    return FALSE;
}
