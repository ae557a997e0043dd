#include "printer/UsbLibrary.h"

constinit CUsbLibrary g_usbLibrary{};

namespace {

template <typename Entry>
Entry Lookup(win::HMODULE module, const char* name) {
    return reinterpret_cast<Entry>(win::GetProcAddress(module, name));
}

}  // namespace

BOOL CUsbLibrary::Bind(win::HMODULE module) {
    m_hModule = module;
    SetVenderID = Lookup<PFN_SetVenderID>(module, "SetVenderID");
    SetProductID = Lookup<PFN_SetProductID>(module, "SetProductID");
    UsbOpenCont = Lookup<PFN_UsbOpenCont>(module, "UsbOpenCont");
    UsbOpenBulk = Lookup<PFN_UsbOpenBulk>(module, "UsbOpenBulk");
    UsbDeviceIoControl = Lookup<PFN_UsbDeviceIoControl>(module, "UsbDeviceIoControl");
    return IsComplete();
}
