// The modeless window that shows a phase of the update: a caption, a message line, a bar and
// a percent text. While it is open it keeps its owner disabled, and the user cannot close
// it. Besides explicit positions it advances by the time elapsed since a start tick.
#pragma once

#include <string>

#include "app/Resource.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressCtrl.h"

class CProgressDlg : public win::CDialog {
public:
    explicit CProgressDlg(UINT captionId);
    ~CProgressDlg() override;

    using win::CDialog::Create;
    BOOL Create(win::CWnd* parent = nullptr);
    BOOL DestroyWindow() override;
    void SetRange(int lower, int upper);
    int SetPos(int position);
    void SetStatus(UINT messageId);
    void SetStatus(const std::string& text);
    void SetTimeBase(DWORD startTick, DWORD duration);
    void AdvanceByTime();
    void PumpMessages();
    void UpdatePercent(int position);
    void ReEnableParent();

    win::CProgressCtrl m_bar;
    UINT m_nCaptionId;
    LONG m_nLower = 0;
    LONG m_nUpper = 100;
    LONG m_nStep = 10;
    BOOL m_bParentDisabled = FALSE;
    DWORD m_dwStartTick = 0;
    DWORD m_dwDuration = 0;

protected:
    void DoDataExchange(win::CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    win::CWnd* m_pOwner = nullptr;
};
