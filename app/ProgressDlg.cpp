#include "app/ProgressDlg.h"

#include <cstdint>
#include <string>

#include "app/MessageCatalogue.h"
#include "platform/Kernel.h"
#include "platform/ui/WinApp.h"

CProgressDlg::CProgressDlg(UINT captionId)
    : win::CDialog(IDD_PROGRESS_DIALOG), m_nCaptionId(captionId) {}

CProgressDlg::~CProgressDlg() {
    if (win::IsWindow(m_hWnd)) {
        CProgressDlg::DestroyWindow();
    }
}

BOOL CProgressDlg::Create(win::CWnd* parent) {
    m_pOwner = parent != nullptr ? parent : win::AfxGetMainWnd();
    if (m_pOwner != nullptr && m_pOwner->IsWindowEnabled()) {
        m_pOwner->EnableWindow(FALSE);
        m_bParentDisabled = TRUE;
    }
    if (!win::CDialog::Create(IDD_PROGRESS_DIALOG, parent)) {
        ReEnableParent();
        return FALSE;
    }
    return TRUE;
}

void CProgressDlg::DoDataExchange(win::CDataExchange* pDX) {
    win::CDialog::DoDataExchange(pDX);
    win::DDX_Control(pDX, IDC_PROGRESS_BAR, m_bar);
}

BOOL CProgressDlg::OnInitDialog() {
    win::CDialog::OnInitDialog();
    m_bar.SendMessage(win::PBM_SETRANGE, 0,
                      MAKELPARAM(static_cast<WORD>(m_nLower), static_cast<WORD>(m_nUpper)));
    m_bar.SendMessage(win::PBM_SETSTEP, static_cast<WPARAM>(m_nStep), 0);
    m_bar.SendMessage(win::PBM_SETPOS, static_cast<WPARAM>(m_nLower), 0);
    SetWindowText(CMessageCatalogue::Load(m_nCaptionId));
    return TRUE;
}

void CProgressDlg::SetRange(int lower, int upper) {
    m_nLower = lower;
    m_nUpper = upper;
    m_bar.SendMessage(win::PBM_SETRANGE, 0,
                      MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
}

int CProgressDlg::SetPos(int position) {
    PumpMessages();
    const int previous =
        static_cast<int>(m_bar.SendMessage(win::PBM_SETPOS, static_cast<WPARAM>(position), 0));
    UpdatePercent(position);
    return previous;
}

void CProgressDlg::UpdatePercent(int position) {
    const LONG span = m_nUpper - m_nLower;
    if (span <= 0) {
        return;  // a range that is not a range has no share to show
    }
    int percent = static_cast<int>((static_cast<int64_t>(position) - m_nLower) * 100 / span);
    if (percent != 100) {
        percent %= 100;
    }
    const std::string text = std::to_string(percent) + '%';
    if (GetDlgItemText(IDC_PROGRESS_PERCENT) != text) {
        SetDlgItemText(IDC_PROGRESS_PERCENT, text);
    }
}

void CProgressDlg::SetStatus(UINT messageId) {
    SetStatus(CMessageCatalogue::Load(messageId));
}

void CProgressDlg::SetStatus(const std::string& text) {
    SetDlgItemText(IDC_PROGRESS_MESSAGE, text);
}

void CProgressDlg::SetTimeBase(DWORD startTick, DWORD duration) {
    m_dwStartTick = startTick;
    m_dwDuration = duration;
}

void CProgressDlg::AdvanceByTime() {
    if (m_dwDuration == 0) {
        return;
    }
    const DWORD now = win::GetTickCount();
    const DWORD percent = (now * 100 - m_dwStartTick * 100) / m_dwDuration;
    if (percent < 100) {
        SetPos(static_cast<int>(percent));
    }
}

void CProgressDlg::PumpMessages() {
    win::MSG msg{};
    while (win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
        if (!win::IsDialogMessage(m_hWnd, &msg)) {
            win::TranslateMessage(&msg);
            win::DispatchMessage(&msg);
        }
    }
}

// Enter, Esc and the caption's close command leave the window open.
void CProgressDlg::OnOK() {}
void CProgressDlg::OnCancel() {}

void CProgressDlg::ReEnableParent() {
    if (m_bParentDisabled && m_pOwner != nullptr) {
        m_pOwner->EnableWindow(TRUE);
    }
    m_bParentDisabled = FALSE;
}

BOOL CProgressDlg::DestroyWindow() {
    ReEnableParent();
    return win::CDialog::DestroyWindow();
}
