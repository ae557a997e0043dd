#include "printer/UsbPort.h"

#include <cstdlib>

#include "printer/UsbLibrary.h"

namespace {

constexpr const char* kPipeOut = "PIPE00";
constexpr const char* kPipeIn = "PIPE01";

// A library that opens every index it is asked for would keep the count going for ever; no
// installation has this many printers on one host.
constexpr DWORD kMaxProbedDevices = 128;

WORD HexToId(const std::string& text) {
    return static_cast<WORD>(static_cast<unsigned long>(std::strtol(text.c_str(), nullptr, 16)) &
                             0xFFFF);
}

bool IsOpen(HANDLE handle) {
    return handle != INVALID_HANDLE_VALUE;
}

void CloseIfOpen(HANDLE& handle) {
    if (IsOpen(handle)) {
        win::CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
}

HANDLE OpenBulk(const char* pipe, DWORD index) {
    return g_usbLibrary.UsbOpenBulk != nullptr ? g_usbLibrary.UsbOpenBulk(pipe, index)
                                               : INVALID_HANDLE_VALUE;
}

}  // namespace

CUsbPort::~CUsbPort() {
    Close();
}

void CUsbPort::SetDeviceIds(const std::string& vendorId, const std::string& productId) {
    m_wVendorId = HexToId(vendorId);
    m_wProductId = HexToId(productId);
}

BOOL CUsbPort::SelectDevices() {
    if (g_usbLibrary.SetVenderID == nullptr || g_usbLibrary.SetVenderID(m_wVendorId) == 0) {
        return FALSE;
    }
    if (g_usbLibrary.SetProductID != nullptr) {
        g_usbLibrary.SetProductID(&m_wProductId, 1);
    }
    return TRUE;
}

BOOL CUsbPort::Open() {
    if (IsOpen(m_hPipeOut) || IsOpen(m_hPipeIn)) {
        m_nLastError = PORT_NOT_OPEN;
        return FALSE;
    }
    if (!SelectDevices()) {
        m_nLastError = PORT_NOT_OPEN;
        return FALSE;
    }
    m_hPipeOut = OpenBulk(kPipeOut, 0);
    m_hPipeIn = OpenBulk(kPipeIn, 0);
    if (IsOpen(m_hPipeOut) && IsOpen(m_hPipeIn)) {
        m_nLastError = PORT_OK;
        return TRUE;
    }
    CloseIfOpen(m_hPipeOut);
    CloseIfOpen(m_hPipeIn);
    m_nLastError = PORT_OPEN_FAILED;
    return FALSE;
}

BOOL CUsbPort::Close() {
    CloseIfOpen(m_hPipeOut);
    CloseIfOpen(m_hPipeIn);
    return TRUE;
}

BOOL CUsbPort::IsPipeOpen(int pipe) const {
    if (pipe == 0) {
        return IsOpen(m_hPipeOut) ? TRUE : FALSE;
    }
    if (pipe == 1) {
        return IsOpen(m_hPipeIn) ? TRUE : FALSE;
    }
    return FALSE;
}

int CUsbPort::Write(const void* data, int count) {
    if (!IsOpen(m_hPipeOut)) {
        m_nLastError = PORT_NOT_OPEN;
        return 0;
    }
    DWORD written = 0;
    if (count < 0 ||
        !win::WriteFile(m_hPipeOut, data, static_cast<DWORD>(count), &written, nullptr)) {
        m_nLastError = PORT_IO_FAILED;
        return 0;
    }
    if (written < static_cast<DWORD>(count)) {
        m_nLastError = PORT_IO_FAILED;
    }
    return static_cast<int>(written);
}

int CUsbPort::Read(void* buffer, int count) {
    if (!IsOpen(m_hPipeIn)) {
        m_nLastError = PORT_NOT_OPEN;
        return 0;
    }
    DWORD read = 0;
    if (count < 0 || !win::ReadFile(m_hPipeIn, buffer, static_cast<DWORD>(count), &read, nullptr)) {
        m_nLastError = PORT_IO_FAILED;
        return 0;
    }
    if (read < static_cast<DWORD>(count)) {
        m_nLastError = PORT_IO_FAILED;
    }
    return static_cast<int>(read);
}

int CUsbPort::CountPrinters() {
    if (!SelectDevices()) {
        return 0;
    }
    int count = 0;
    for (DWORD index = 0; index < kMaxProbedDevices; ++index) {
        HANDLE control = g_usbLibrary.UsbOpenCont != nullptr ? g_usbLibrary.UsbOpenCont(index, 0)
                                                             : INVALID_HANDLE_VALUE;
        HANDLE out = OpenBulk(kPipeOut, index);
        HANDLE in = OpenBulk(kPipeIn, index);
        const bool answered = IsOpen(control) && IsOpen(out) && IsOpen(in);
        CloseIfOpen(control);
        CloseIfOpen(out);
        CloseIfOpen(in);
        if (!answered) {
            break;
        }
        ++count;
    }
    return count;
}
