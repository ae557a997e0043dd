// rxt9-update: the update tool in real windows, with an exit status that tells how its last
// download ended.
#include "app/MessageCatalogue.h"
#include "app/Resource.h"
#include "app/UpdateApp.h"
#include "gui/ExitStatus.h"
#include "gui/RunWatch.h"
#include "platform/Kernel.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char** argv) {
    std::optional<gui::RunWatch> watch;
    const win::QtProgramEnd end =
        win::RunQtProgram(argc, argv, [&watch](win::UiBackend& qt) -> win::UiBackend& {
            return watch.emplace(qt, CMessageCatalogue::Load(IDS_SUCCESS),
                                 CMessageCatalogue::Load(IDS_NEWEST));
        });
    const int status = gui::ExitStatusOf(end, watch ? watch->LastDownload() : std::nullopt);
    win::EndProcessWithin(CUpdateApp::kLibraryUnloadGraceMs, status);
    return status;
}
