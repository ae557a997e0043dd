// How the front-end shows what happens in the windows: as text for a person, or as JSON lines
// for a script.
#pragma once

#include <string>

#include "app/ExitReason.h"
#include "cli/MainWindowRows.h"
#include "cli/ProgressSnapshot.h"
#include "platform/console/BoxIcon.h"
#include "platform/ui/RunEnd.h"
#include "platform/ui/StartupReport.h"

namespace cli {

using console::BoxIcon;

struct MessageBoxView {
    std::string caption;
    std::string text;  // may hold line breaks
    BoxIcon icon;
};

enum class Prompt { MainWindow, MessageBox };

class ConsolePresenter {
public:
    virtual ~ConsolePresenter() = default;

    virtual void MainWindowShown(const std::string& caption) = 0;
    virtual void Rows(const MainWindowRows& rows) = 0;
    virtual void MessageBox(const MessageBoxView& box) = 0;
    // Called on every change of the open progress window.
    virtual void Progress(const ProgressSnapshot& progress) = 0;
    virtual void ProgressClosed() = 0;
    // No printer is connected, and the tool waits for one, at most `limitSeconds` (0: no
    // limit).
    virtual void Waiting(unsigned limitSeconds) = 0;
    // The start-up check has passed: Download can be pressed.
    virtual void Ready() = 0;
    virtual void DownloadStarted() = 0;
    // --check: what the start-up check found, beside the rows it filled in.
    virtual void Checked(const win::StartupReport& report, const MainWindowRows& rows) = 0;
    virtual void DownloadEnded(const win::RunEnd& end) = 0;
    // A signal arrived; during a download the download goes on to its end first.
    virtual void Interrupted(bool finishingDownload) = 0;
    // The person at the terminal is expected to press a key.
    virtual void AskFor(Prompt prompt) = 0;
    virtual void Finished(ExitReason reason) = 0;
};

// What the person at the terminal is asked to do.
const char* PromptText(Prompt prompt);

}  // namespace cli
