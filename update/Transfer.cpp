// Sending the firmware images of the selected set and verifying what the printer then holds.
#include <cstring>

#include "app/DataSlotFacts.h"
#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"

namespace {

constexpr DWORD kBlockSize = 4096;
constexpr DWORD kTailGranule = 64;
constexpr DWORD kPrepareWaitSlice = 100;
constexpr DWORD kReplyWaitSlice = 100;

constexpr DWORD kTransferOk = 0;
constexpr DWORD kTransferTimedOut = 2;
constexpr DWORD kTransferWriteFailed = 101;

void SetTransferError(DWORD* transferError, DWORD code) {
    if (transferError != nullptr) {
        *transferError = code;
    }
}

}  // namespace

BOOL CUpdateDlg::TransferImages(CUsbPort& port, CProgressDlg* progress) {
    DWORD transferError = kTransferOk;
    const auto& carried = CarriedSlots();
    BOOL sent = TRUE;
    for (size_t slot = 0; slot < 4 && sent; ++slot) {
        if (!carried[slot]) {
            continue;
        }
        progress->SetStatus(kDataSlotFacts[slot].loadingMessage);
        const TargetArea area = kDataSlotFacts[slot].area;
        sent = port.SendPrepareArea(area);
        if (sent) {
            WaitWithProgress(static_cast<DWORD>(m_package.m_nPrepareWait[slot]) * 1000, progress,
                             kPrepareWaitSlice);
            sent = port.SendStartWrite(area);
        }
        if (sent) {
            const ImageBuffer& image = m_transferImages[slot];
            sent = SendImage(port, image.data.get(), image.size,
                             static_cast<DWORD>(m_package.m_nWriteTimeout[slot]) * 1000, progress,
                             &transferError);
        }
    }
    if (sent) {
        return TRUE;
    }
    FinishDownloadMode(port, nullptr);
    CMessageCatalogue::ShowError(m_hWnd,
                                 transferError == kTransferTimedOut ? IDS_TIME_OUT : IDS_FAILED);
    return FALSE;
}

BOOL CUpdateDlg::SendImage(CUsbPort& port, const BYTE* image, DWORD size, DWORD timeLimit,
                           CProgressDlg* progress, DWORD* transferError) {
    const DWORD start = win::GetTickCount();
    BYTE block[kBlockSize];
    const DWORD wholeBlocks = size / kBlockSize;
    for (DWORD i = 0; i < wholeBlocks; ++i) {
        std::memcpy(block, image + static_cast<size_t>(i) * kBlockSize, kBlockSize);
        if (port.Write(block, static_cast<int>(kBlockSize)) != static_cast<int>(kBlockSize)) {
            SetTransferError(transferError, kTransferWriteFailed);
            return FALSE;
        }
        if (win::GetTickCount() - start > timeLimit) {
            SetTransferError(transferError, kTransferTimedOut);
            return FALSE;
        }
        if (progress != nullptr) {
            progress->AdvanceByTime();
        }
    }
    const DWORD tail = size % kBlockSize;
    if (tail != 0) {
        // The tail goes out zero-padded to the next multiple of 64, always with some padding.
        std::memset(block, 0, sizeof(block));
        std::memcpy(block, image + (size - tail), tail);
        const int length = static_cast<int>(tail / kTailGranule * kTailGranule + kTailGranule);
        if (port.Write(block, length) != length) {
            SetTransferError(transferError, kTransferWriteFailed);
            return FALSE;
        }
        if (progress != nullptr) {
            progress->AdvanceByTime();
        }
    }
    SetTransferError(transferError, kTransferOk);
    return TRUE;
}

BOOL CUpdateDlg::VerifyTransfer(CUsbPort& port, CProgressDlg* progress) {
    VersionInfo info{};
    BOOL verified = port.SendVersionInquiry();
    if (verified) {
        WaitWithProgress(kReplyWaitMs, progress, kReplyWaitSlice);
        verified = port.ReadVersionReply(info);
    }
    if (verified) {
        const auto& carried = CarriedSlots();
        for (size_t slot = 0; slot < 4; ++slot) {
            if (!carried[slot]) {
                continue;
            }
            m_strAfterVersion[slot] = info.item[slot].version;
            m_strAfterChecksum[slot] = FormatChecksum(info.item[slot].checksum);
            m_rememberedVersions[slot] = {m_strAfterVersion[slot],
                                          static_cast<WORD>(info.item[slot].checksum)};
        }
        UpdateData(FALSE);
        for (size_t slot = 0; slot < 4 && verified; ++slot) {
            if (carried[slot] && (m_strAfterVersion[slot] != m_szPackageVersion[slot].data() ||
                                  m_strAfterChecksum[slot] != m_szPackageChecksum[slot].data())) {
                verified = FALSE;
            }
        }
    }
    if (!verified) {
        CMessageCatalogue::ShowError(nullptr, IDS_FAILED);
    }
    return verified;
}
