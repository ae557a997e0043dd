#include "cli/JsonPresenter.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/cli/JsonEventsDocument.h"
#include "tests/cli/RecordingOutput.h"

namespace {

using cli::JsonPresenter;
using clitest::RecordingOutput;
using nlohmann::json;

json OnlyLine(const std::string& written) {
    EXPECT_EQ(written.find('\n'), written.size() - 1) << written;
    return json::parse(written);
}

TEST(JsonPresenterTest, MessageTextsSurviveTheirEscaping) {
    RecordingOutput output;
    JsonPresenter presenter(output);
    const std::string text = "Failed!\n\"quoted\" \\ back\ttab \x01 control";
    presenter.MessageBox({"Error", text, cli::BoxIcon::Warning});
    const json event = OnlyLine(output.written);
    EXPECT_EQ(event, json::parse(R"({"event":"message","caption":"Error","icon":"warning",
                                     "text":"Failed!\n\"quoted\" \\ back\ttab \u0001 control"})"));
    EXPECT_EQ(event["text"], text);
    EXPECT_EQ(output.written.rfind("{\"event\":\"message\",", 0), 0u);
}

TEST(JsonPresenterTest, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    RecordingOutput output;
    JsonPresenter presenter(output);
    cli::MainWindowRows rows;
    rows.before[0] = {
        "45\xFF\xFE"
        "42",
        "FFFF"};
    rows.after[3] = {"454F11", "A789"};
    presenter.Rows(rows);
    const json event = OnlyLine(output.written);
    EXPECT_EQ(event["before"][0]["version"],
              "45\xEF\xBF\xBD\xEF\xBF\xBD"
              "42");
    EXPECT_EQ(event["before"][0]["item"], "DATA1(M)");
    EXPECT_EQ(event["after"][3], json::parse(R"json({"item":"DATA4(M)","version":"454F11",
                                                     "checksum":"A789"})json"));
    EXPECT_EQ(event["package"].size(), 4u);
}

// Every event the presenter can write, with every value of its listed fields, is on the page,
// and the page names no event the presenter never writes.
TEST(JsonPresenterTest, EveryEventIsTheOneTheDocumentDescribes) {
    using Result = win::RunEnd::Result;
    RecordingOutput output;
    JsonPresenter presenter(output);
    presenter.MainWindowShown("KALDERON RX-T9 Update Tool");
    presenter.Rows(cli::MainWindowRows{});
    for (const cli::BoxIcon icon : {cli::BoxIcon::None, cli::BoxIcon::Error, cli::BoxIcon::Question,
                                    cli::BoxIcon::Warning, cli::BoxIcon::Information}) {
        presenter.MessageBox({"Error", "Failed!", icon});
    }
    presenter.Progress({"Upgrade", "Loading DATA1(M)...", "40%", 40, 30});
    presenter.Waiting(30);
    presenter.Ready();
    presenter.DownloadStarted();
    presenter.Checked({"RX-T9 0001", 1, true}, cli::MainWindowRows{});
    for (const Result result : {Result::Updated, Result::UpToDate, Result::FailedBeforeDownloadMode,
                                Result::FailedInDownloadMode, Result::StoppedBeforeDownloadMode,
                                Result::StartupCheckClosed, Result::LibraryRefused}) {
        presenter.DownloadEnded({result, result == Result::Updated});
    }
    presenter.Interrupted(true);
    for (int reason = 0; reason <= static_cast<int>(ExitReason::UpdateApplies); ++reason) {
        presenter.Finished(static_cast<ExitReason>(reason));
    }

    std::set<std::string> written;
    std::istringstream lines(output.written);
    for (std::string line; std::getline(lines, line);) {
        const json event = json::parse(line);
        EXPECT_EQ(clitest::JsonEventsDocument::Page().Undocumented(event), "") << line;
        EXPECT_EQ(line.rfind("{\"event\":", 0), 0u) << "the name comes first: " << line;
        written.insert(event["event"].get<std::string>());
    }
    EXPECT_EQ(written, clitest::JsonEventsDocument::Page().EventNames());
}

}  // namespace
