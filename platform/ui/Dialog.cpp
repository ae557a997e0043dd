#include "platform/ui/Dialog.h"

#include "platform/ui/Framework.h"
#include "platform/ui/User.h"
#include "platform/ui/WinApp.h"

namespace win {

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (pDX->m_bSaveAndValidate != FALSE) {
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    } else {
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd == nullptr) {
        HWND window = win::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
        if (window != nullptr) {
            control.Attach(window);
        }
    }
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nTemplateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (IsWindow(m_hWnd)) {
        CDialog::DestroyWindow();
    }
}

BOOL CDialog::CreateFromTemplate(CWnd* parent, bool modal) {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(static_cast<WORD>(m_nTemplateId));
    if (dialogTemplate == nullptr) {
        return FALSE;
    }
    Framework& framework = Framework::Instance();
    HWND window = framework.AddDialog(std::make_unique<Window>(dialogTemplate, nullptr, nullptr));
    CWnd* owner = parent != nullptr ? parent : AfxGetMainWnd();
    window->owner = owner != nullptr && owner != this ? owner->m_hWnd : nullptr;
    Attach(window);
    m_bEndModal = false;
    if (!framework.Backend().CreateDialogWindow(window)) {
        m_hWnd = nullptr;
        framework.RemoveDialog(window);
        return FALSE;
    }
    SendMessage(WM_INITDIALOG, 0, 0);
    if (IsWindow(window) && !m_bEndModal && (modal || (dialogTemplate->style & WS_VISIBLE) != 0)) {
        ShowWindow(SW_SHOW);
    }
    return IsWindow(window);
}

intptr_t CDialog::DoModal() {
    // The owner takes no input while its modal dialog is open.
    CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    HWND ownerWindow = owner != nullptr && owner != this ? owner->m_hWnd : nullptr;
    const bool disableOwner =
        ownerWindow != nullptr && IsWindow(ownerWindow) && ownerWindow->enabled;
    if (disableOwner) {
        win::EnableWindow(ownerWindow, FALSE);
    }
    m_nModalResult = -1;
    if (CreateFromTemplate(m_pParentWnd, true)) {
        RunModalLoop();
    }
    if (disableOwner) {
        win::EnableWindow(ownerWindow, TRUE);
    }
    if (IsWindow(m_hWnd)) {
        DestroyWindow();
    }
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    UiBackend& backend = Framework::Instance().Backend();
    while (!m_bEndModal && IsWindow(m_hWnd)) {
        MSG msg{};
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!IsDialogMessage(m_hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        } else {
            backend.WaitForInput(m_hWnd);
        }
    }
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nTemplateId = templateId;
    m_pParentWnd = parent;
    return CreateFromTemplate(parent, false);
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEndModal = true;
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    if (!IsWindow(m_hWnd)) {
        return FALSE;
    }
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    if (saveAndValidate == FALSE) {
        Framework::Instance().Backend().DataTransferred(m_hWnd);
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CDialog::OnCommand(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            if (OnCommand(wParam, lParam) != FALSE) {
                return 0;
            }
            if (LOWORD(wParam) == IDOK) {
                OnOK();
            } else if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
            }
            return 0;
        case WM_CLOSE:
            // The caption's close command cancels a dialog, as Esc does.
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        case DM_GETDEFID:
            if (IsWindow(m_hWnd)) {
                for (const auto& child : m_hWnd->children) {
                    const ControlTemplate* control = child->ControlData();
                    if (control->kind == ControlKind::Button &&
                        (control->style & 0x0F) == BS_DEFPUSHBUTTON) {
                        return MAKELPARAM(static_cast<WORD>(control->id), DC_HASDEFID);
                    }
                }
            }
            return 0;
        case WM_NEXTDLGCTL:
            if (lParam != 0) {
                win::SetFocus(reinterpret_cast<HWND>(wParam));
            }
            return 0;
        default:
            return DefWindowProc(message, wParam, lParam);
    }
}

}  // namespace win
