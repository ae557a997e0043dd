#include "cli/ConsoleOptions.h"

#include <charconv>
#include <string_view>

namespace cli {

namespace {

constexpr std::string_view kForceDownload = "-frcdlm";
constexpr std::string_view kWaitWithLimit = "--wait=";
// A day: any longer wait is a mistake in the command line.
constexpr unsigned kLongestWaitSeconds = 86400;

}  // namespace

ConsoleOptions ConsoleOptions::Parse(int argc, const char* const* argv) {
    ConsoleOptions options;
    options.systemArguments.emplace_back(argc > 0 && argv[0] != nullptr ? argv[0]
                                                                        : "rxt9-update-cli");
    bool forceDownload = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == kForceDownload) {
            forceDownload = true;
        } else if (argument == "--download") {
            options.download = true;
        } else if (argument == "--check") {
            options.check = true;
        } else if (argument == "--wait") {
            options.wait = true;
        } else if (argument.substr(0, kWaitWithLimit.size()) == kWaitWithLimit) {
            const std::string_view seconds = argument.substr(kWaitWithLimit.size());
            unsigned value = 0;
            const auto [end, failure] =
                std::from_chars(seconds.data(), seconds.data() + seconds.size(), value);
            if (failure != std::errc() || end != seconds.data() + seconds.size() || value < 1 ||
                value > kLongestWaitSeconds) {
                options.error = "'" + std::string(argument) +
                                "': the wait is a number of seconds from 1 to 86400";
                return options;
            }
            options.wait = true;
            options.waitSeconds = value;
        } else if (argument == "--assume-yes" || argument == "-y") {
            options.assumeYes = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (!argument.empty() && argument[0] == '-') {
            options.error = "unknown option '" + std::string(argument) + "'";
            return options;
        } else {
            options.error = "unexpected argument '" + std::string(argument) + "'";
            return options;
        }
    }
    if (options.check && options.download) {
        options.error = "--check and --download exclude each other";
        return options;
    }
    if (forceDownload) {
        options.systemArguments.emplace_back(kForceDownload);
    }
    return options;
}

std::string ConsoleOptions::Usage(const std::string& program) {
    return "Usage: " + program +
           " [-frcdlm] [--download | --check] [--wait[=SECONDS]] [--assume-yes] [--json]\n" +
           "       " + program + " --help | --version\n";
}

std::string ConsoleOptions::Help(const std::string& program) {
    return Usage(program) +
           "\n"
           "Updates the firmware of the one KALDERON RX-T9 printer connected by USB with the\n"
           "package built into this tool: the same main window and sequences as rxt9-update,\n"
           "shown in the terminal.\n"
           "\n"
           "On a terminal, after the start-up check, Enter presses Download and q or Esc\n"
           "closes the tool; a message waits for Enter. With standard input not a terminal,\n"
           "its characters act the same way and its end closes the tool.\n"
           "\n"
           "Options:\n"
           "  -frcdlm           skip the printer state check and the same-printer shortcut,\n"
           "                    and send package set 1\n"
           "  --download        press Download once after the start-up check, then close\n"
           "  --check           run the start-up check alone and say what it found: the\n"
           "                    printer, its versions and the package's, the package set\n"
           "                    that applies and whether an update applies; then close.\n"
           "                    Never puts the printer into download mode. Messages are\n"
           "                    acknowledged at once\n"
           "  --wait[=SECONDS]  while no printer is connected, wait for one (at most SECONDS)\n"
           "                    instead of closing; then go on as without it\n"
           "  -y, --assume-yes  acknowledge every message at once\n"
           "  --json            write one JSON object a line for every event\n"
           "  -h, --help        show this text\n"
           "  --version         show the version\n"
           "\n"
           "Exit status:\n"
           "  0    the last download updated the printer, or the tool was closed before any;\n"
           "       with --check, an update applies\n"
           "  1    the last download failed, interrupted or not\n"
           "  2    nothing to do: the printer already holds this package (also with --check)\n"
           "  3    the start-up check closed the tool (no printer, several, not applicable,\n"
           "       a failed read), also when a wait for the printer ran out\n"
           "  4    the vendor USB library was refused\n"
           "  64   usage error\n"
           "  70   the main window could not be created\n"
           "  73   the single-instance lock could not be made (the reason is on stderr)\n"
           "  74   standard output could not be written (the run itself went on; 1 and 130\n"
           "       are given instead when they apply)\n"
           "  75   another copy of the tool is running\n"
           "  130  interrupted: a download in download mode was finished first and updated the\n"
           "       printer, or the download or the wait for a printer stopped\n"
           "\n"
           "A signal that would end the tool (Ctrl-C, Ctrl-\\, SIGTERM, SIGHUP, ...) during a\n"
           "download stops it before download mode, or lets it finish with the printer\n"
           "restarted once the printer is in download mode; then the tool ends.\n"
           "\n"
           "Output that the terminal or pipe cannot take yet never holds up a download:\n"
           "messages wait until it drains, and only the newest progress is kept.\n"
           "\n"
           "Environment: RXT9_ZELPORT names the vendor library file to load instead of\n"
           "ZELPORT.so beside the program.\n";
}

}  // namespace cli
