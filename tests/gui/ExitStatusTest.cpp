// How rxt9-update's exit status follows from the way its windows ended and its last download.
#include "gui/ExitStatus.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase {
    const char* name;
    win::ProgramEnd end;
    std::optional<ExitReason> lastDownload;
    int status;
};

void PrintTo(const StatusCase& c, std::ostream* out) {
    *out << c.name;
}

class ExitStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ExitStatusTest, FollowsTheEndAndTheLastDownload) {
    EXPECT_EQ(gui::ExitStatusOf(GetParam().end, GetParam().lastDownload), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ExitStatusTest,
    ::testing::Values(
        StatusCase{"NoDisplay", {false, 1, false, false}, std::nullopt, 1},
        StatusCase{"ClosedByTheUser", {true, 0, false, false}, std::nullopt, 0},
        StatusCase{"ClosedAfterAFailure", {true, 0, false, false}, ExitReason::Failed, 1},
        StatusCase{"ClosedAfterAnUpdate", {true, 0, false, false}, ExitReason::Updated, 0},
        StatusCase{"LoopEndedWithItsOwnResult", {true, 2, false, false}, std::nullopt, 2},
        StatusCase{"AskedToEndAfterAnUpdate", {true, 0, false, true}, ExitReason::Updated, 130},
        StatusCase{
            "AskedToEndBeforeDownloadMode", {true, 0, false, true}, ExitReason::Interrupted, 130},
        StatusCase{"AskedToEndAfterAFailure", {true, 0, false, true}, ExitReason::Failed, 1},
        StatusCase{"DisplayLostAfterAnUpdate", {true, 1, true, false}, ExitReason::Updated, 0},
        StatusCase{"DisplayLostWhenUpToDate", {true, 1, true, false}, ExitReason::UpToDate, 0},
        StatusCase{"DisplayLostAfterAFailure", {true, 1, true, false}, ExitReason::Failed, 1},
        StatusCase{"DisplayLostWithoutADownload", {true, 0, true, false}, std::nullopt, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
