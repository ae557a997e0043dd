// The front-end's text for a person: the rows as a small table, message boxes as caption and
// text, and the progress window as one line that is redrawn in place on a terminal, or as a
// line per tenth of the bar elsewhere.
#pragma once

#include <string>
#include <string_view>

#include "cli/ConsolePresenter.h"
#include "cli/ProgressSteps.h"
#include "platform/console/ConsoleOutput.h"

namespace cli {

class TextPresenter final : public ConsolePresenter {
public:
    explicit TextPresenter(console::ConsoleOutput& output) : m_output(output) {}

    void MainWindowShown(const std::string& caption) override;
    void Rows(const MainWindowRows& rows) override;
    void MessageBox(const MessageBoxView& box) override;
    void Progress(const ProgressSnapshot& progress) override;
    void ProgressClosed() override;
    void Waiting(unsigned limitSeconds) override;
    void Ready() override;
    void DownloadStarted() override;
    void Checked(const win::StartupReport& report, const MainWindowRows& rows) override;
    void DownloadEnded(const win::RunEnd& end) override;
    void Interrupted(bool finishingDownload) override;
    void AskFor(Prompt prompt) override;
    void Finished(ExitReason reason) override;

    static std::string FormatRows(const MainWindowRows& rows);
    static std::string FormatMessageBox(const MessageBoxView& box);
    // One line without its line break, cut to width characters unless width is 0.
    static std::string FormatProgress(const ProgressSnapshot& progress, size_t width);
    // Texts from the printer may hold any byte; only printable ASCII reaches the terminal,
    // anything else shows as '?'. Line breaks are kept.
    static std::string Printable(std::string_view text);

private:
    void Line(std::string_view text);
    void EndProgressLine();

    console::ConsoleOutput& m_output;
    ProgressSteps m_steps;
    bool m_lineOpen = false;  // a progress line is on the terminal without its line break
    std::string m_shownLine;
    size_t m_widestLine = 0;  // the longest line written since the line opened
};

}  // namespace cli
