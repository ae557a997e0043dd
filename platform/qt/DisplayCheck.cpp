#include "platform/qt/DisplayCheck.h"

#include <QString>
#include <QtGlobal>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace win {

namespace {

QtMessageHandler g_previousHandler = nullptr;
bool g_opening = false;
std::string g_lastWarning;

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

void GuardedHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (g_opening && type == QtFatalMsg) {
        std::cerr << "rxt9-update: cannot open a window on the display"
                  << (g_lastWarning.empty() ? "" : ": ") << g_lastWarning << std::endl;
        std::_Exit(1);
    }
    if (type == QtWarningMsg &&
        (message.startsWith(QStringLiteral("The X11 connection broke")) ||
         message.startsWith(QStringLiteral("The Wayland connection broke")))) {
        // Qt ends the process right after this warning.
        std::cerr << "rxt9-update: the connection to the display is broken; the program ends.\n";
    }
    if (g_opening && type == QtWarningMsg) {
        // Qt names the cause (an unreachable display, a missing plugin) in a warning just
        // before its fatal error.
        g_lastWarning = message.toStdString();
    }
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, message);
    }
}

}  // namespace

std::string DisplayCheck::MissingDisplay(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return {};
        }
    }
    if (IsSet("QT_QPA_PLATFORM") || IsSet("WAYLAND_DISPLAY") || IsSet("DISPLAY")) {
        return {};
    }
    return "no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set. "
           "Start it from a desktop session, or choose a Qt platform with QT_QPA_PLATFORM.";
}

void DisplayCheck::GuardOpening() {
    g_opening = true;
    g_lastWarning.clear();
    g_previousHandler = qInstallMessageHandler(GuardedHandler);
}

void DisplayCheck::Opened() {
    g_opening = false;
    g_lastWarning.clear();
}

}  // namespace win
