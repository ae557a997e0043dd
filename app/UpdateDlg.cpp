#include "app/UpdateDlg.h"

#include <cstdio>
#include <cstring>

#include "app/AboutDlg.h"
#include "app/DataSlotFacts.h"
#include "app/FileExists.h"
#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "platform/Kernel.h"

CUpdateDlg::CUpdateDlg(win::CWnd* parent)
    : win::CDialog(IDD_UPDATE_DIALOG, parent), m_hIcon(win::LoadIcon(IDR_MAINFRAME)) {}

CUpdateDlg::~CUpdateDlg() = default;

LRESULT CUpdateDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case win::WM_SYSCOMMAND:
            OnSysCommand(static_cast<UINT>(wParam), lParam);
            return 0;
        case win::WM_PAINT:
            OnPaint();
            return 0;
        case win::WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(m_hIcon);
        case win::WM_SHOWWINDOW:
            OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
            return 0;
        case WM_STARTUP_CHECK:
            return OnStartupCheck(wParam, lParam);
        default:
            return win::CDialog::WindowProc(message, wParam, lParam);
    }
}

BOOL CUpdateDlg::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    if (LOWORD(wParam) == IDC_DOWNLOAD && HIWORD(wParam) == win::BN_CLICKED) {
        OnDownload();
        return TRUE;
    }
    return FALSE;
}

void CUpdateDlg::DoDataExchange(win::CDataExchange* pDX) {
    win::CDialog::DoDataExchange(pDX);
    // The fields in the order of the window's resource.
    const DataSlotFacts& data1 = kDataSlotFacts[DATA1_M];
    const DataSlotFacts& data2 = kDataSlotFacts[DATA2_T];
    const DataSlotFacts& data3 = kDataSlotFacts[DATA3_F];
    const DataSlotFacts& data4 = kDataSlotFacts[DATA4_M];
    win::DDX_Text(pDX, data1.after.checksum, m_strAfterChecksum[DATA1_M]);
    win::DDX_Text(pDX, data1.after.version, m_strAfterVersion[DATA1_M]);
    win::DDX_Text(pDX, data2.after.checksum, m_strAfterChecksum[DATA2_T]);
    win::DDX_Text(pDX, data2.after.version, m_strAfterVersion[DATA2_T]);
    win::DDX_Text(pDX, data1.before.checksum, m_strBeforeChecksum[DATA1_M]);
    win::DDX_Text(pDX, data1.before.version, m_strBeforeVersion[DATA1_M]);
    win::DDX_Text(pDX, data2.before.checksum, m_strBeforeChecksum[DATA2_T]);
    win::DDX_Text(pDX, data2.before.version, m_strBeforeVersion[DATA2_T]);
    win::DDX_Text(pDX, data3.after.checksum, m_strAfterChecksum[DATA3_F]);
    win::DDX_Text(pDX, data3.before.checksum, m_strBeforeChecksum[DATA3_F]);
    win::DDX_Text(pDX, data3.after.version, m_strAfterVersion[DATA3_F]);
    win::DDX_Text(pDX, data3.before.version, m_strBeforeVersion[DATA3_F]);
    win::DDX_Text(pDX, data4.after.checksum, m_strAfterChecksum[DATA4_M]);
    win::DDX_Text(pDX, data4.before.checksum, m_strBeforeChecksum[DATA4_M]);
    win::DDX_Text(pDX, data4.after.version, m_strAfterVersion[DATA4_M]);
    win::DDX_Text(pDX, data4.before.version, m_strBeforeVersion[DATA4_M]);
}

BOOL CUpdateDlg::OnInitDialog() {
    win::CDialog::OnInitDialog();

    if (win::CMenu* systemMenu = GetSystemMenu(FALSE)) {
        const std::string about = CMessageCatalogue::Load(IDS_ABOUTBOX);
        if (!about.empty()) {
            systemMenu->AppendMenu(win::MF_SEPARATOR);
            systemMenu->AppendMenu(win::MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    if (!LoadPackageTable()) {
        CMessageCatalogue::ShowError(m_hWnd, IDS_SETTING_ERROR);
        EndDialog(0);
    }
    for (int slot = 0; slot < kDataSlotCount; ++slot) {
        const auto index = static_cast<size_t>(slot);
        m_bSet1Item[index] = m_package.GetVersion(1, slot).empty() ? FALSE : TRUE;
        m_bSet2Item[index] = m_package.GetVersion(2, slot).empty() ? FALSE : TRUE;
    }
    for (const DataSlotFacts& item : kDataSlotFacts) {
        SetDlgItemText(item.package.version, "");
        SetDlgItemText(item.package.checksum, "");
    }
    ClearRows(true, true);
    UpdateData(FALSE);
    m_strPrinterId.clear();
    PackageSet = 0;
    m_bSalesFile = FileExists("Sales.txt");
    m_bForceDownload = FALSE;
    if (win::GetArgCount() > 1 && std::strcmp(win::GetArg(1), "-frcdlm") == 0) {
        m_bForceDownload = TRUE;
    }
    return TRUE;
}

void CUpdateDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    DefWindowProc(win::WM_SYSCOMMAND, id, lParam);
}

void CUpdateDlg::OnPaint() {
    if (!IsIconic()) {
        DefWindowProc(win::WM_PAINT, 0, 0);
        return;
    }
    win::CPaintDC dc(this);
    SendMessage(win::WM_ICONERASEBKGND, dc.GetSafeHdc(), 0);
    win::RECT client{};
    GetClientRect(&client);
    const int x = (client.right - client.left - win::GetSystemMetrics(win::SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - win::GetSystemMetrics(win::SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

void CUpdateDlg::OnShowWindow(BOOL show, UINT status) {
    DefWindowProc(win::WM_SHOWWINDOW, static_cast<WPARAM>(show), static_cast<LPARAM>(status));
    PostMessage(WM_STARTUP_CHECK, 0, 0);
}

void CUpdateDlg::FillPackageRow() {
    const int set = PackageSet == 2 ? 2 : 1;
    const auto& carried = PackageSet == 2 ? m_bSet2Item : m_bSet1Item;
    for (int slot = 0; slot < kDataSlotCount; ++slot) {
        const auto index = static_cast<size_t>(slot);
        auto& version = m_szPackageVersion[index];
        auto& checksum = m_szPackageChecksum[index];
        version.fill('\0');
        checksum.fill('\0');
        if (carried[index]) {
            // The fields hold six and four characters; the table's lengths are validated.
            m_package.GetVersion(set, slot).copy(version.data(), version.size() - 1);
            m_package.GetChecksum(set, slot).copy(checksum.data(), checksum.size() - 1);
        }
    }
}

void CUpdateDlg::ShowPackageRow() {
    FillPackageRow();
    for (size_t slot = 0; slot < kDataSlotFacts.size(); ++slot) {
        SetDlgItemText(kDataSlotFacts[slot].package.version, m_szPackageVersion[slot].data());
        SetDlgItemText(kDataSlotFacts[slot].package.checksum, "");
    }
}

CMessageCatalogue::Suffix CUpdateDlg::ErrorSuffix() const {
    return PackageSet == 0 ? CMessageCatalogue::Suffix::Restart
                           : CMessageCatalogue::Suffix::DownloadAgain;
}

void CUpdateDlg::ClearRows(bool before, bool after) {
    for (size_t slot = 0; slot < 4; ++slot) {
        if (before) {
            m_strBeforeVersion[slot].clear();
            m_strBeforeChecksum[slot].clear();
        }
        if (after) {
            m_strAfterVersion[slot].clear();
            m_strAfterChecksum[slot].clear();
        }
    }
}

const std::array<BOOL, 4>& CUpdateDlg::CarriedSlots() const {
    return PackageSet == 2 ? m_bSet2Item : m_bSet1Item;
}

std::unique_ptr<CProgressDlg> CUpdateDlg::OpenProgressWindow(UINT captionId, DWORD duration,
                                                             UINT statusId) {
    auto progress = std::make_unique<CProgressDlg>(captionId);
    progress->Create(nullptr);
    progress->SetRange(0, 100);
    progress->SetPos(0);
    if (statusId != 0) {
        progress->SetStatus(statusId);
    }
    progress->SetTimeBase(win::GetTickCount(), duration);
    return progress;
}

void CUpdateDlg::CloseProgressWindow(std::unique_ptr<CProgressDlg>& progress) {
    progress->SetPos(100);
    PumpMessagesFor(kFullBarShownMs);
    progress.reset();
}

void CUpdateDlg::EnableDownloadButton() {
    win::CWnd* button = GetDlgItem(IDC_DOWNLOAD);
    button->EnableWindow(TRUE);
    SendMessage(win::WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button->m_hWnd), TRUE);
}

bool CUpdateDlg::BeginRun() {
    if (m_bRunning) {
        return false;
    }
    m_bRunning = true;
    m_bReportExitFailure = 0;
    m_bDownloadMode = FALSE;
    m_bEnteredDownloadMode = FALSE;
    m_bRestarted = FALSE;
    m_bVersionsNotText = FALSE;
    m_endReported = false;
    return true;
}

std::string CUpdateDlg::FormatChecksum(DWORD checksum) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(4, '0');
    for (int digit = 3; digit >= 0; --digit, checksum >>= 4) {
        text[static_cast<size_t>(digit)] = kDigits[checksum & 0xF];
    }
    return text;
}
