// rxt9-update-cli: the update tool's main window and sequences on the model backend, shown in
// a terminal or written as JSON lines for scripts.
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/UpdateApp.h"
#include "cli/CliBackend.h"
#include "cli/ConsoleOptions.h"
#include "cli/JsonPresenter.h"
#include "cli/LockedPresenter.h"
#include "cli/TextPresenter.h"
#include "platform/Kernel.h"
#include "platform/console/Terminal.h"
#include "platform/kernel/EndSignals.h"
#include "platform/ui/WinApp.h"

namespace {

std::string ProgramName(int argc, char** argv) {
    if (argc < 1 || argv[0] == nullptr) {
        return "rxt9-update-cli";
    }
    const std::string path = argv[0];
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

int main(int argc, char** argv) try {
    win::OpenMissingStandardStreams();
    // Before the vendor library can start its threads.
    win::EndSignals signals;

    const cli::ConsoleOptions options = cli::ConsoleOptions::Parse(argc, argv);
    const std::string program = ProgramName(argc, argv);
    if (!options.error.empty()) {
        std::cerr << program << ": " << options.error << "\n"
                  << cli::ConsoleOptions::Usage(program) << "Try '" << program
                  << " --help' for more.\n";
        return kUsageStatus;
    }
    if (options.help) {
        std::cout << cli::ConsoleOptions::Help(program);
        return 0;
    }
    if (options.version) {
        std::cout << program << " " RXT9_VERSION "\n";
        return 0;
    }

    console::Terminal terminal;
    std::unique_ptr<cli::ConsolePresenter> presenter;
    if (options.json) {
        presenter = std::make_unique<cli::JsonPresenter>(terminal);
    } else {
        presenter = std::make_unique<cli::TextPresenter>(terminal);
    }
    cli::LockedPresenter sharedPresenter(*presenter);
    cli::InteractionSettings settings;
    settings.download = options.download;
    settings.assumeYes = options.assumeYes || options.check;
    settings.check = options.check;
    settings.waitForPrinter = options.wait;
    settings.waitLimitMs = options.waitSeconds * 1000;
    cli::CliBackend backend(sharedPresenter, terminal, signals, settings);

    std::vector<std::string> arguments = options.systemArguments;
    std::vector<char*> systemArgv;
    systemArgv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        systemArgv.push_back(argument.data());
    }
    systemArgv.push_back(nullptr);
    win::AfxWinMain(static_cast<int>(arguments.size()), systemArgv.data(), backend);
    const int status = ExitStatusOf(backend.Finish());
    win::EndProcessWithin(CUpdateApp::kLibraryUnloadGraceMs, status);
    return status;
} catch (const std::bad_alloc&) {
    // Out of memory outside the window's runs, which end themselves: no printer is in download
    // mode here.
    std::cerr << "rxt9-update-cli: out of memory\n";
    return ExitStatusOf(ExitReason::Failed);
}
