#include "printer/StatusQuery.h"

#include <cstring>

#include "platform/Kernel.h"

namespace {

constexpr BYTE kStatusInquiry[10] = {0x1B, 0x47, 0x44, 0x30, 0x00, 0x00, 0x03, 0x02, 0x16, 0x17};
constexpr BYTE kIdentityRead[22] = {0x1B, 0x61, 0x36, 0x36, 0x41, 0xBE, 0x00, 0x00,
                                    0x00, 0x06, 0x00, 0x00, 0x00, 0x30, 0xFF, 0xFF,
                                    0xFF, 0xF9, 0xFF, 0xFF, 0xFF, 0xCF};
constexpr DWORD kReplyDelayMs = 50;

}  // namespace

BOOL CStatusQuery::Query(CUsbPort& port, DWORD* errorCode, WORD* printingState,
                         std::string* modelCode, std::string* identity) {
    if (!port.IsPipeOpen(0) || !port.IsPipeOpen(1)) {
        m_nLastError = 1;
        return FALSE;
    }
    if (!Send(port, kStatusInquiry, sizeof(kStatusInquiry))) {
        return FALSE;
    }
    BYTE status[kStatusReplySize] = {};
    win::Sleep(kReplyDelayMs);
    if (!Receive(port, status, sizeof(status))) {
        return FALSE;
    }
    if (std::memcmp(status, kReplyHeader, sizeof(kReplyHeader)) != 0) {
        m_nLastError = 1;
        return FALSE;
    }
    if (!Send(port, kIdentityRead, sizeof(kIdentityRead))) {
        return FALSE;
    }
    BYTE identityReply[kIdentityReplySize] = {};
    win::Sleep(kReplyDelayMs);
    if (!Receive(port, identityReply, sizeof(identityReply))) {
        return FALSE;
    }
    if (errorCode != nullptr) {
        *errorCode = static_cast<DWORD>(status[5]) * 256 + status[6];
    }
    if (printingState != nullptr) {
        *printingState = status[16];
    }
    if (modelCode != nullptr) {
        constexpr char kDigits[] = "0123456789abcdef";
        *modelCode = {kDigits[status[4] >> 4], kDigits[status[4] & 0xF]};
    }
    if (identity != nullptr) {
        identity->append(reinterpret_cast<const char*>(identityReply + 22), 6);
    }
    return TRUE;
}
