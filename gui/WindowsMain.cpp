// rxt9-update.exe: the update tool in real Windows dialogs.
#include "platform/ui/WinApp.h"
#include "platform/win32/Win32Backend.h"

int main(int argc, char** argv) {
    win::Win32Backend backend;
    return win::AfxWinMain(argc, argv, backend);
}
