// rxt9-update.exe: the update tool in real Windows dialogs, with the exit statuses of the
// program on every platform.
#include "app/UpdateApp.h"
#include "gui/ExitStatus.h"
#include "platform/ui/WinApp.h"
#include "platform/win32/Win32Backend.h"

int main(int argc, char** argv) {
    win::Win32Backend backend;
    win::ProgramEnd end;
    end.windowsOpened = true;
    end.result = win::AfxWinMain(argc, argv, backend);
    end.endRequested = backend.EndRequested();
    return gui::ExitStatusOf(end, theApp.LastDownload());
}
