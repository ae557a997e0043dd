// The application object: the single-instance guard, the binding of the vendor USB library
// and the run of the main window.
#pragma once

#include "platform/ui/WinApp.h"

class CUpdateApp : public win::CWinApp {
public:
    CUpdateApp() = default;

    BOOL InitInstance() override;

    // How long the library's unload may take once the program has said how it ended; a front-end
    // ends the process then (win::EndProcessWithin).
    static constexpr DWORD kLibraryUnloadGraceMs = 3000;

private:
    static BOOL BindUsbLibrary();
};

extern CUpdateApp theApp;
