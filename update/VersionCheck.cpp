// The version check: which package set applies to the printer, what the printer holds, and
// whether it already holds the package.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/UpdateDlg.h"

namespace {

constexpr DWORD kReplyWaitSlice = 100;

// A list entry stands for a printer version when the first five characters agree and the
// sixth does too, unless the entry's sixth is the wildcard digit '0'.
bool VersionMatches(const std::string& entry, const std::string& version) {
    if (entry.size() < 6 || version.size() < 6) {
        return false;
    }
    return entry.compare(0, 5, version, 0, 5) == 0 && (entry[5] == '0' || entry[5] == version[5]);
}

bool SetApplies(const std::vector<std::string>& pairs, const std::string& data1,
                const std::string& data2) {
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        if (!VersionMatches(pairs[i], data1)) {
            continue;
        }
        if (pairs[i + 1] == " " || VersionMatches(pairs[i + 1], data2)) {
            return true;
        }
    }
    return false;
}

// Erased flash reads as FF: a version with a byte that is no printable text.
bool IsNoText(const std::string& version) {
    return std::any_of(version.begin(), version.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte > 0x7E;
    });
}

// Whether the printer's versions equal the set's for DATA1(M) and every other item it carries.
bool IsUpToDate(const std::array<std::string, 4>& printer, const CPackageInfo& package, int set,
                const std::array<BOOL, 4>& carried) {
    if (printer[0] != package.GetVersion(set, 0)) {
        return false;
    }
    for (int slot = 1; slot < kDataSlotCount; ++slot) {
        const auto index = static_cast<size_t>(slot);
        if (carried[index] && printer[index] != package.GetVersion(set, slot)) {
            return false;
        }
    }
    return true;
}

}  // namespace

BOOL CUpdateDlg::CheckVersions(CUsbPort& port, BOOL& upToDate, CProgressDlg* progress,
                               BOOL inDownloadMode) {
    const int entrySet = PackageSet;
    VersionInfo info{};
    upToDate = FALSE;

    // The wait and the read run after a failed inquiry too: a printer that took part of it
    // may still answer, and its reply must not stay in the pipe.
    const BOOL sent = port.SendVersionInquiry();
    WaitWithProgress(kReplyWaitMs, progress, kReplyWaitSlice);
    const BOOL read = port.ReadVersionReply(info);
    if (!sent || !read) {
        if (inDownloadMode) {
            FinishDownloadMode(port, nullptr);
        }
        CMessageCatalogue::ShowError(m_hWnd, IDS_VERSION_FAILED, ErrorSuffix());
        return FALSE;
    }

    std::array<std::string, 4> printer;
    for (size_t slot = 0; slot < 4; ++slot) {
        printer[slot] = info.item[slot].version;
    }
    BOOL result = FALSE;
    if (m_bForceDownload) {
        result = TRUE;
        PackageSet = 1;
    } else if (SetApplies(m_package.GetApplicableList(1), printer[0], printer[1])) {
        result = TRUE;
        PackageSet = 1;
        upToDate = IsUpToDate(printer, m_package, 1, m_bSet1Item) ? TRUE : FALSE;
    } else if (!m_package.m_bSecondSetBlank &&
               SetApplies(m_package.GetApplicableList(2), printer[0], printer[1])) {
        result = TRUE;
        PackageSet = 2;
        upToDate = IsUpToDate(printer, m_package, 2, m_bSet2Item) ? TRUE : FALSE;
    }

    if (PackageSet != 0) {
        const auto& carried = CarriedSlots();
        for (size_t slot = 0; slot < 4; ++slot) {
            if (!carried[slot]) {
                continue;
            }
            m_strBeforeVersion[slot] = printer[slot];
            m_strBeforeChecksum[slot] = FormatChecksum(info.item[slot].checksum);
            m_rememberedVersions[slot] = {printer[slot],
                                          static_cast<WORD>(info.item[slot].checksum)};
        }
    }
    UpdateData(FALSE);

    if (!result) {
        m_bVersionsNotText = IsNoText(printer[0]) || IsNoText(printer[1]) ? TRUE : FALSE;
        const std::string format = CMessageCatalogue::Load(IDS_NOT_APPLICABLE);
        // The fields add at most two versions of six characters and two checksums of four.
        std::vector<char> text(format.size() + 64);
        const int length =
            std::snprintf(text.data(), text.size(), format.c_str(), printer[0].c_str(),
                          static_cast<unsigned>(info.item[0].checksum), printer[1].c_str(),
                          static_cast<unsigned>(info.item[1].checksum));
        std::string message = length > 0 ? text.data() : format;
        if (PackageSet == 0) {
            message += CMessageCatalogue::Load(IDS_SUFFIX_RESTART);
        }
        CMessageCatalogue::ShowVersionCheck(m_hWnd, message);
    }
    if (upToDate && (entrySet == 0 || entrySet == PackageSet)) {
        CMessageCatalogue::ShowVersionCheck(m_hWnd, CMessageCatalogue::Load(IDS_NEWEST));
    }
    if (!result || upToDate) {
        m_bReportExitFailure = 1;
    }
    return result;
}

BOOL CUpdateDlg::CompareRememberedVersions() {
    const int set = PackageSet == 1 ? 1 : 2;
    const auto& carried = PackageSet == 1 ? m_bSet1Item : m_bSet2Item;
    std::array<std::string, 4> remembered;
    for (size_t slot = 0; slot < 4; ++slot) {
        remembered[slot] = m_rememberedVersions[slot].version;
    }
    if (!IsUpToDate(remembered, m_package, set, carried)) {
        return TRUE;
    }
    for (size_t slot = 0; slot < 4; ++slot) {
        if (carried[slot]) {
            m_strBeforeVersion[slot] = m_rememberedVersions[slot].version;
            m_strBeforeChecksum[slot] = FormatChecksum(m_rememberedVersions[slot].checksum);
        }
    }
    CMessageCatalogue::ShowVersionCheck(m_hWnd, CMessageCatalogue::Load(IDS_NEWEST));
    return FALSE;
}
