// The printer commands that CUsbPort sends, byte for byte, and the decoding of the version
// reply.
#include <cstring>

#include "platform/Kernel.h"
#include "printer/UsbPort.h"

namespace {

constexpr BYTE kDownloadMode[8] = {0x1B, 0x66, 0x67, 0x6A, 0x70, 0x64, 0x6C, 0x00};
constexpr BYTE kRestart[4] = {0x1B, 0x66, 0x72, 0x00};
constexpr BYTE kVersionInquiry[11] = {0x1B, 0x47, 0x44, 0x30, 0x00, 0x00,
                                      0x04, 0x0C, 0x0E, 0x0D, 0x13};
constexpr BYTE kPrepareArea = 0x65;  // e
constexpr BYTE kStartWrite = 0x73;   // s
constexpr int kPrepareAreaLength = 4;
constexpr int kStartWriteLength = 512;

}  // namespace

BOOL CUsbPort::SendCommand(const BYTE* bytes, int count) {
    return Write(bytes, count) == count ? TRUE : FALSE;
}

BOOL CUsbPort::SendDownloadMode() {
    return SendCommand(kDownloadMode, sizeof(kDownloadMode));
}
BOOL CUsbPort::SendRestart() {
    return SendCommand(kRestart, sizeof(kRestart));
}
BOOL CUsbPort::SendVersionInquiry() {
    return SendCommand(kVersionInquiry, sizeof(kVersionInquiry));
}

BOOL CUsbPort::SendAreaCommand(BYTE command, TargetArea area, int length) {
    const char letter = TargetAreaLetter(area);
    if (letter == '\0') {
        return FALSE;
    }
    BYTE message[kStartWriteLength] = {};
    message[0] = 0x1B;
    message[1] = 0x66;
    message[2] = command;
    message[3] = static_cast<BYTE>(letter);
    if (!SendCommand(message, length)) {
        return FALSE;
    }
    win::Sleep(kCommandSettleMs);
    return TRUE;
}

BOOL CUsbPort::SendPrepareArea(TargetArea area) {
    return SendAreaCommand(kPrepareArea, area, kPrepareAreaLength);
}

BOOL CUsbPort::SendStartWrite(TargetArea area) {
    return SendAreaCommand(kStartWrite, area, kStartWriteLength);
}

BOOL CUsbPort::ReadVersionReply(VersionInfo& info) {
    BYTE reply[kVersionReplySize] = {};
    if (Read(reply, kVersionReplySize) != kVersionReplySize) {
        return FALSE;
    }
    info = VersionInfo{};
    if (std::memcmp(reply, kReplyHeader, sizeof(kReplyHeader)) != 0) {
        return FALSE;
    }
    for (int k = 0; k < kDataSlotCount; ++k) {
        const BYTE* record = reply + 4 + 8 * k;
        std::memcpy(info.item[k].version, record, 6);
        info.item[k].checksum = static_cast<DWORD>(record[6]) * 256 + record[7];
    }
    return TRUE;
}
