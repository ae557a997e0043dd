// The front-end's events for scripts: one JSON object a line on standard output, each with an
// "event" member naming it. Progress is reported at every new caption, message line and tenth
// of the bar. Prompts for a person at the terminal go to the error stream.
#pragma once

#include <nlohmann/json.hpp>

#include "cli/ConsolePresenter.h"
#include "cli/ProgressSteps.h"
#include "platform/console/ConsoleOutput.h"

namespace cli {

class JsonPresenter final : public ConsolePresenter {
public:
    explicit JsonPresenter(console::ConsoleOutput& output) : m_output(output) {}

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

private:
    static std::string Line(const nlohmann::ordered_json& event);
    void Emit(const nlohmann::ordered_json& event);

    console::ConsoleOutput& m_output;
    ProgressSteps m_steps;
};

}  // namespace cli
