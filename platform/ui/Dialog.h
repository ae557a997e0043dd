// Dialogs built from templates: modal with DoModal, modeless with Create, with dialog data
// exchange and the dialog keyboard.
#pragma once

#include <string>

#include "platform/ui/Wnd.h"

namespace win {

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual intptr_t DoModal();
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    BOOL IsModalLoopEnded() const { return m_bEndModal; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // WM_COMMAND other than IDOK and IDCANCEL; returns whether it was handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

private:
    BOOL CreateFromTemplate(CWnd* parent, bool modal);
    void RunModalLoop();

    UINT m_nTemplateId;
    CWnd* m_pParentWnd;
    bool m_bEndModal = false;
    int m_nModalResult = -1;
};

}  // namespace win
