#include "cli/JsonPresenter.h"

#include "app/DataSlotFacts.h"

namespace cli {

namespace {

using nlohmann::ordered_json;

ordered_json Event(const char* name) {
    return ordered_json{{"event", name}};
}

ordered_json RowJson(const Row& row) {
    ordered_json items = ordered_json::array();
    for (size_t slot = 0; slot < row.size(); ++slot) {
        items.push_back({{"item", kDataSlotFacts[slot].label},
                         {"version", row[slot].version},
                         {"checksum", row[slot].checksum}});
    }
    return items;
}

}  // namespace

std::string JsonPresenter::Line(const ordered_json& event) {
    // Bytes that are not UTF-8 (a printer may report any) become U+FFFD instead of ending
    // the program.
    return event.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

void JsonPresenter::Emit(const ordered_json& event) {
    m_output.Write(Line(event));
}

void JsonPresenter::MainWindowShown(const std::string& caption) {
    ordered_json event = Event("window");
    event["caption"] = caption;
    Emit(event);
}

void JsonPresenter::Rows(const MainWindowRows& rows) {
    ordered_json event = Event("rows");
    event["package"] = RowJson(rows.package);
    event["before"] = RowJson(rows.before);
    event["after"] = RowJson(rows.after);
    Emit(event);
}

void JsonPresenter::MessageBox(const MessageBoxView& box) {
    ordered_json event = Event("message");
    event["caption"] = box.caption;
    event["text"] = box.text;
    event["icon"] = NameOf(box.icon);
    Emit(event);
}

void JsonPresenter::Progress(const ProgressSnapshot& progress) {
    if (!m_steps.IsNewStep(progress)) {
        return;
    }
    ordered_json event = Event("progress");
    event["caption"] = progress.caption;
    event["message"] = progress.message;
    event["percent"] = progress.barPercent;
    if (progress.secondsLeft) {
        event["remaining_s"] = *progress.secondsLeft;
    }
    m_output.WriteProgress(Line(event));
}

void JsonPresenter::ProgressClosed() {
    m_steps.Reset();
}

void JsonPresenter::Waiting(unsigned limitSeconds) {
    ordered_json event = Event("waiting");
    event["limit_s"] = limitSeconds;
    Emit(event);
}

void JsonPresenter::Ready() {
    Emit(Event("ready"));
}

void JsonPresenter::DownloadStarted() {
    Emit(Event("download"));
}

void JsonPresenter::Checked(const win::StartupReport& report, const MainWindowRows& rows) {
    ordered_json event = Event("check");
    event["identity"] = report.printerId;
    event["printer"] = RowJson(rows.before);
    event["package"] = RowJson(rows.package);
    event["package_set"] = report.packageSet;
    event["update_applies"] = report.updateApplies;
    Emit(event);
}

void JsonPresenter::DownloadEnded(const win::RunEnd& end) {
    const ExitReason reason = ExitReasonOf(end);
    ordered_json event = Event("end");
    event["end"] = end.successEnd ? "success" : "failure";
    event["result"] = ExitReasonName(reason);
    event["status"] = ExitStatusOf(reason);
    Emit(event);
}

void JsonPresenter::Interrupted(bool finishingDownload) {
    ordered_json event = Event("interrupt");
    event["finishing"] = finishingDownload;
    Emit(event);
}

void JsonPresenter::AskFor(Prompt prompt) {
    m_output.WriteError(PromptText(prompt));
}

void JsonPresenter::Finished(ExitReason reason) {
    // A second copy shows nothing, as the windowed tool does.
    if (reason == ExitReason::AlreadyRunning) {
        return;
    }
    ordered_json event = Event("exit");
    event["status"] = ExitStatusOf(reason);
    event["reason"] = ExitReasonName(reason);
    Emit(event);
}

}  // namespace cli
