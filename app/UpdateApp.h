// The application object: the single-instance guard, the binding of the vendor USB library
// and the run of the main window.
#pragma once

#include <optional>

#include "app/ExitReason.h"
#include "platform/ui/RunEnd.h"
#include "platform/ui/WinApp.h"

class CUpdateApp : public win::CWinApp {
public:
    CUpdateApp() = default;

    BOOL InitInstance() override;
    // The program's exit code, for whoever started it: 1 when its last Download failed,
    // otherwise 0.
    int ExitInstance() override;

    // How a run ended, as the main window or the application itself knows it: told to the
    // backend at once and kept for the program's exit.
    void ReportRunEnd(const win::RunEnd& end);
    // How the last Download ended; empty before the first one ends.
    std::optional<ExitReason> LastDownload() const { return m_lastDownload; }

    // How long the library's unload may take once the program has said how it ended; a front-end
    // ends the process then (win::EndProcessWithin).
    static constexpr DWORD kLibraryUnloadGraceMs = 3000;

private:
    static BOOL BindUsbLibrary();

    std::optional<ExitReason> m_lastDownload;
};

extern CUpdateApp theApp;
