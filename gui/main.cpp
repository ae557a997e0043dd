// rxt9-update: the update tool in real windows, with an exit status that tells how its last
// download ended.
#include "app/UpdateApp.h"
#include "gui/ExitStatus.h"
#include "platform/Kernel.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char** argv) {
    const win::ProgramEnd end = win::RunQtProgram(argc, argv);
    const int status = gui::ExitStatusOf(end, theApp.LastDownload());
    win::EndProcessWithin(CUpdateApp::kLibraryUnloadGraceMs, status);
    return status;
}
