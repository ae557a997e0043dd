// The connection to one printer: its two bulk pipes opened through the vendor library, raw
// transfers over them, the printer count, and the commands of the printer's protocol.
#pragma once

#include <string>

#include "printer/PrinterProtocol.h"

constexpr int PORT_OK = 0;
constexpr int PORT_NOT_OPEN = 1;
constexpr int PORT_OPEN_FAILED = 100;
constexpr int PORT_IO_FAILED = 101;

class CUsbPort {
public:
    CUsbPort() = default;
    virtual ~CUsbPort();
    CUsbPort(const CUsbPort&) = delete;
    CUsbPort& operator=(const CUsbPort&) = delete;

    void SetDeviceIds(const std::string& vendorId, const std::string& productId);
    BOOL Open();
    BOOL Close();
    BOOL IsPipeOpen(int pipe) const;
    int Write(const void* data, int count);
    int Read(void* buffer, int count);
    int CountPrinters();

    BOOL SendDownloadMode();
    BOOL SendRestart();
    // Each of these two waits kCommandSettleMs after its command, for the printer to take it.
    BOOL SendPrepareArea(TargetArea area);
    BOOL SendStartWrite(TargetArea area);
    BOOL SendVersionInquiry();
    BOOL ReadVersionReply(VersionInfo& info);

    WORD VendorId() const { return m_wVendorId; }
    WORD ProductId() const { return m_wProductId; }

    int m_nLastError = PORT_OK;

    static constexpr DWORD kCommandSettleMs = 100;

private:
    BOOL SelectDevices();
    BOOL SendCommand(const BYTE* bytes, int count);
    BOOL SendAreaCommand(BYTE command, TargetArea area, int length);

    HANDLE m_hPipeOut = INVALID_HANDLE_VALUE;
    HANDLE m_hPipeIn = INVALID_HANDLE_VALUE;
    WORD m_wVendorId = 0;
    WORD m_wProductId = 0;
};
