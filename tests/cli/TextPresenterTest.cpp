#include "cli/TextPresenter.h"

#include <gtest/gtest.h>

#include "tests/cli/RecordingOutput.h"

namespace {

using cli::BoxIcon;
using cli::MainWindowRows;
using cli::ProgressSnapshot;
using cli::TextPresenter;
using clitest::RecordingOutput;

ProgressSnapshot Upgrade(int percent, const char* message) {
    return {"Upgrade", message, std::to_string(percent) + "%", percent};
}

TEST(TextPresenterTest, RowsTableShowsBlanksAsDashesAndNoRawBytes) {
    MainWindowRows rows;
    rows.package[0] = {"450D42", ""};
    rows.before[0] = {"450B42", "6B1D"};
    rows.before[1] = {"\xFF\xFF\x1b[2J", "FFFF"};  // what a printer may report
    rows.after[3] = {"454F11", "A789"};
    EXPECT_EQ(TextPresenter::FormatRows(rows),
              "          Package         Before          After\n"
              "          Version  Sum    Version  Sum    Version  Sum\n"
              "DATA1(M)  450D42   -      450B42   6B1D   -        -\n"
              "DATA2(T)  -        -      ???[2J   FFFF   -        -\n"
              "DATA3(F)  -        -      -        -      -        -\n"
              "DATA4(M)  -        -      -        -      454F11   A789\n");
    EXPECT_EQ(TextPresenter::Printable("a\tb\nc\x7f"), "a?b\nc?");
}

TEST(TextPresenterTest, MessageBoxKeepsItsLineBreaks) {
    EXPECT_EQ(TextPresenter::FormatMessageBox(
                  {"Error", "Failed to read the F/W file. \nFiles in the package might be missing.",
                   BoxIcon::Warning}),
              "[warning] Error\n"
              "    Failed to read the F/W file. \n"
              "    Files in the package might be missing.\n");
    EXPECT_EQ(
        TextPresenter::FormatMessageBox({"Version Check", "one\n\nthree\n", BoxIcon::Information}),
        "[information] Version Check\n    one\n    \n    three\n    \n");
}

TEST(TextPresenterTest, ProgressLineJoinsTheMessageLinesAndFitsTheWidth) {
    const ProgressSnapshot progress =
        Upgrade(45, "Loading DATA2(T)...\nDo not power off the printer.");
    EXPECT_EQ(TextPresenter::FormatProgress(progress, 0),
              "Upgrade [#########...........]  45%  Loading DATA2(T)... Do not power off the "
              "printer.");
    EXPECT_EQ(TextPresenter::FormatProgress(progress, 20), "Upgrade [#########..");
    EXPECT_EQ(TextPresenter::FormatProgress({"Version Check...", "", "100%", 100}, 0),
              "Version Check... [####################] 100%");
}

TEST(TextPresenterTest, OnATerminalTheProgressLineIsRedrawnInPlace) {
    RecordingOutput output(true);
    output.columns = 60;
    TextPresenter presenter(output);
    presenter.Progress(Upgrade(0, "Loading DATA1(M)..."));
    EXPECT_EQ(output.Take(), "Upgrade [....................]   0%  Loading DATA1(M)...");
    presenter.Progress(Upgrade(0, "Loading DATA1(M)..."));
    EXPECT_EQ(output.Take(), "");
    presenter.Progress(Upgrade(5, ""));
    // Blanks rub out the end of the longer line before.
    EXPECT_EQ(output.Take(), "\rUpgrade [#...................]   5%" + std::string(21, ' '));
    output.columns = 21;
    presenter.Progress(Upgrade(6, ""));
    // The blanks reach as far as the longest line since the line opened: a terminal that
    // could not take the 5 % line may still show the first one.
    EXPECT_EQ(output.Take(), "\rUpgrade [#.........." + std::string(36, ' '));
    // Other output begins on a line of its own; the progress line then starts afresh.
    presenter.DownloadStarted();
    EXPECT_EQ(output.Take(), "\nDownload started.\n");
    presenter.Progress(Upgrade(6, ""));
    EXPECT_EQ(output.Take(), "Upgrade [#..........");
    presenter.ProgressClosed();
    EXPECT_EQ(output.Take(), "\n");
}

TEST(TextPresenterTest, ElsewhereTheProgressGetsALinePerTenth) {
    RecordingOutput output(false);
    TextPresenter presenter(output);
    for (int percent = 0; percent <= 25; ++percent) {
        presenter.Progress(Upgrade(percent, "Please wait."));
    }
    presenter.ProgressClosed();
    presenter.Progress({"Version Check...", "Please wait.", "0%", 0});
    EXPECT_EQ(output.written,
              "Upgrade [....................]   0%  Please wait.\n"
              "Upgrade [##..................]  10%  Please wait.\n"
              "Upgrade [####................]  20%  Please wait.\n"
              "Version Check... [....................]   0%  Please wait.\n");
}

}  // namespace
