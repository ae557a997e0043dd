// The application object and the framework's start and end.
#pragma once

#include "platform/ui/Wnd.h"

namespace win {

class UiBackend;

class CWinApp {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The framework's entry: records the command line, installs the backend, runs the
// application object's InitInstance and, when that returns FALSE, its ExitInstance.
int AfxWinMain(int argc, char** argv, UiBackend& backend);

// ActiveX hosting and the three-dimensional control look: Windows options that every dialog
// of this platform already has, so enabling them changes nothing here.
void AfxEnableControlContainer();
BOOL Enable3dControlsStatic();

}  // namespace win
