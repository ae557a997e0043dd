#include "cli/RunOutcome.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using cli::ExitReason;
using cli::RunOutcome;

constexpr const char* kSuccess = "Success!\nThis DATA was downloaded properly on printer.";
constexpr const char* kNewest = "DATA in the printer is the newest version.";
constexpr const char* kFailed =
    "Failed!\nPlease turn the printer OFF and then ON, and download again.";
constexpr const char* kChanged =
    "Download F/W version is changed. Please confirm.\nDownload is started after press the "
    "Download button.";

struct OutcomeCase {
    const char* name;
    bool enteredDownloadMode;
    std::vector<const char*> messages;
    ExitReason reason;
    bool successEnd;
    int status;
};

void PrintTo(const OutcomeCase& c, std::ostream* out) {
    *out << c.name;
}

class RunOutcomeTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(RunOutcomeTest, FollowsFromTheMessagesShown) {
    RunOutcome outcome(kSuccess, kNewest);
    if (GetParam().enteredDownloadMode) {
        outcome.NoteProgressWindow();
    }
    for (const char* message : GetParam().messages) {
        outcome.NoteMessage(message);
    }
    EXPECT_EQ(outcome.Reason(), GetParam().reason);
    EXPECT_EQ(outcome.TookSuccessEnd(), GetParam().successEnd);
    EXPECT_EQ(cli::ExitStatusOf(outcome.Reason()), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunOutcomeTest,
    ::testing::Values(
        OutcomeCase{"Updated", true, {kSuccess}, ExitReason::Updated, true, 0},
        OutcomeCase{"SamePrinterShortcut", false, {kNewest}, ExitReason::UpToDate, false, 2},
        OutcomeCase{"NewestInDownloadMode", true, {kNewest}, ExitReason::UpToDate, true, 2},
        OutcomeCase{"TransferFailed", true, {kFailed}, ExitReason::Failed, false, 1},
        OutcomeCase{"PackageSetChanged", true, {kChanged}, ExitReason::Failed, false, 1},
        OutcomeCase{
            "RestartFailedAfterUpdate", true, {kFailed, kSuccess}, ExitReason::Failed, true, 1},
        OutcomeCase{
            "RestartFailedWhenNewest", true, {kNewest, kFailed}, ExitReason::Failed, true, 1},
        // Every failing step shows a message, so a run without one that never entered
        // download mode was stopped before it, as the window was asked to close.
        OutcomeCase{"StoppedBeforeDownloadMode", false, {}, ExitReason::Interrupted, false, 130},
        OutcomeCase{"NoMessageInDownloadMode", true, {}, ExitReason::Failed, false, 1}),
    [](const auto& info) { return info.param.name; });

}  // namespace
