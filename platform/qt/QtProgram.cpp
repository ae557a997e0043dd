#include "platform/qt/QtProgram.h"

#include <unistd.h>
#include <QApplication>
#include <QSessionManager>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Kernel.h"
#include "platform/kernel/EndSignals.h"
#include "platform/qt/DisplayCheck.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/WinApp.h"

namespace {

double MonotonicSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The process's start on the boot clock, from the kernel's record of the process.
double ProcessStartSeconds() {
    std::ifstream stat("/proc/self/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t afterName = content.rfind(')');
    if (afterName == std::string::npos) {
        return 0.0;
    }
    // Field 22, the start time in clock ticks; the fields after the name start at field 3.
    const char* field = content.c_str() + afterName + 2;
    for (int number = 3; number < 22 && *field != '\0'; ++number) {
        field = std::strchr(field, ' ');
        if (field == nullptr) {
            return 0.0;
        }
        ++field;
    }
    return static_cast<double>(std::strtoull(field, nullptr, 10)) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

// With RXT9_REPORT_SHOWN set, the moment the first window comes on screen goes to stderr:
// the time since the process started, and the wall clock for measuring from outside.
void ReportFirstWindowShown() {
    const double elapsed = MonotonicSeconds(CLOCK_BOOTTIME) - ProcessStartSeconds();
    // Formatted apart, so that std::cerr keeps its default number format.
    std::ostringstream line;
    line << std::fixed << std::setprecision(0) << "rxt9-update: first window on screen "
         << elapsed * 1000.0 << " ms after the start, at " << std::setprecision(6)
         << MonotonicSeconds(CLOCK_REALTIME) << '\n';
    std::cerr << line.str() << std::flush;
}

}  // namespace

namespace win {

ProgramEnd RunQtProgram(int argc, char** argv) {
    OpenMissingStandardStreams();
    // Before Qt or the vendor library can start a thread.
    EndSignals endSignals;
    std::vector<char*> arguments(argv, argv + argc + 1);
    const std::string missingDisplay = DisplayCheck::MissingDisplay(argc, argv);
    if (!missingDisplay.empty()) {
        std::cerr << "rxt9-update: " << missingDisplay << '\n';
        return {};
    }
    DisplayCheck::GuardOpening();
    int qtArgc = argc;
    QApplication application(qtArgc, argv);
    DisplayCheck::Opened();
    QGuiApplication::setDesktopFileName(QStringLiteral("rxt9-update"));

    QtBackend backend;
    backend.WatchEndSignals(endSignals);
    // Ending the session is a request to end, as a signal is.
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&backend](QSessionManager&) { backend.RequestEnd(); });
    const char* report = std::getenv("RXT9_REPORT_SHOWN");
    if (report != nullptr && *report != '\0') {
        backend.OnFirstWindowShown(ReportFirstWindowShown);
    }
    ProgramEnd end;
    end.windowsOpened = true;
    end.result = AfxWinMain(argc, arguments.data(), backend);
    end.displayLost = backend.DisplayLost();
    end.endRequested = backend.EndRequested();
    return end;
}

}  // namespace win
