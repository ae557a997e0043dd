// The application object: the single-instance guard, the binding of the vendor USB library
// and the run of the main window.
#pragma once

#include "platform/ui/WinApp.h"

class CUpdateApp : public win::CWinApp {
public:
    CUpdateApp() = default;

    BOOL InitInstance() override;

private:
    static BOOL BindUsbLibrary();
};

extern CUpdateApp theApp;
