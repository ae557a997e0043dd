// Whole runs of the tool in its Qt windows against the simulated printer, on the virtual
// clock: the user at the screen presses Download, watches the progress windows and answers
// every message box, reading its caption, text and icon.
#include <gmock/gmock.h>

#include <optional>

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/MessageCatalogue.h"
#include "app/UpdateApp.h"
#include "app/UpdateDlg.h"
#include "gui/ExitStatus.h"
#include "platform/Kernel.h"
#include "tests/harness/SimulatedLibrary.h"
#include "tests/platform/qt/QtWindowTest.h"
#include "tests/platform/qt/ScreenWatcher.h"
#include "tests/platform/qt/Screenshot.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

struct SeenBox {
    std::string caption;
    std::string text;
    QMessageBox::Icon icon;
    bool ownedByMainWindow;

    bool operator==(const SeenBox&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SeenBox& box) {
    return out << "{\"" << box.caption << "\", \"" << box.text << "\", icon " << box.icon
               << (box.ownedByMainWindow ? ", owned" : ", no owner") << "}";
}

// A progress window as the user saw it, with the state of the main window meanwhile.
struct SeenProgress {
    std::string caption;
    bool mainWindowEnabled;
    bool downloadEnabled;
};

class DownloadInWindowsTest : public QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        ASSERT_TRUE(sim.Loaded()) << "ZELPORT.so beside the test program";
        workingDirectory.Enter();
        environment.Unset("LC_ALL");
        environment.Unset("LC_MESSAGES");
        environment.Set("LANG", "C.UTF-8");
        win::SetCommandLine(1, m_argv);
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        QtWindowTest::TearDown();
    }

    void RunMainWindow() {
        theApp.m_pMainWnd = &dialog;
        dialog.DoModal();
        theApp.m_pMainWnd = nullptr;
    }

    // What rxt9-update would exit with once its message loop ends here.
    int ExitStatus() {
        return gui::ExitStatusOf({true, 0, backend.DisplayLost(), backend.EndRequested()},
                                 theApp.LastDownload());
    }

    win::DialogWidget* MainWindow() const { return Widget(dialog.m_hWnd); }
    QPushButton* DownloadButton() const {
        return Control<QPushButton>(dialog.m_hWnd, IDC_DOWNLOAD);
    }
    std::string Field(int id) const {
        return Control<QLabel>(dialog.m_hWnd, id)->text().toStdString();
    }
    // The main window waits for the user: the start-up check has filled the package row and
    // Download takes a press.
    bool Idle() const {
        return MainWindow() != nullptr && MainWindow()->isVisible() &&
               dialog.IsWindowEnabled() != FALSE && DownloadButton()->isEnabled() &&
               !Field(IDC_DATA1_PACKAGE_VERSION).empty();
    }

    // Reads and answers the box on screen, if any; true when there was one.
    bool AnswerMessageBox() {
        QMessageBox* box = ScreenWatcher::OpenMessageBox();
        if (box == nullptr) {
            return false;
        }
        boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon(),
                         box->parentWidget() != nullptr && box->parentWidget() == MainWindow()});
        if (boxes.back().caption == kCaptionError && !failureShot) {
            failureShot = Screenshot::Save(box, "failure-box");
        }
        box->button(QMessageBox::Ok)->click();
        return true;
    }

    // Looks at the progress window on screen, if any, and tries to close it and the main window
    // the way a user would; true when there was one.
    bool WatchProgressWindow() {
        win::DialogWidget* progress = ScreenWatcher::OpenDialog(IDD_PROGRESS_DIALOG);
        if (progress == nullptr) {
            return false;
        }
        const std::string caption = progress->windowTitle().toStdString();
        if (progressSeen.empty() || progressSeen.back().caption != caption) {
            progressSeen.push_back(
                {caption, dialog.IsWindowEnabled() != FALSE, DownloadButton()->isEnabled()});
            QTest::keyClick(progress, Qt::Key_Escape);
            QTest::keyClick(progress, Qt::Key_Return);
            progress->close();
            MainWindow()->close();
            QTest::keyClick(MainWindow(), Qt::Key_Escape);
        }
        auto* bar =
            progress->findChild<QProgressBar*>(QStringLiteral("control-%1").arg(IDC_PROGRESS_BAR));
        if (caption == "Upgrade" && bar->value() >= 40 && !transferShot) {
            transferShot = Screenshot::Save(progress, "progress-upgrade");
        }
        return true;
    }

    static std::string Text(unsigned id) { return CMessageCatalogue::Load(id); }

    win::VirtualClock& virtualClock = clock;
    SimulatedLibrary sim{virtualClock};
    testing_support::ScopedEnvironment environment;
    testing_support::TemporaryDirectory workingDirectory;
    CUpdateDlg dialog;
    std::vector<SeenBox> boxes;
    std::vector<SeenProgress> progressSeen;
    bool transferShot = false;
    bool failureShot = false;

private:
    char m_program[12] = "rxt9-update";
    char* m_argv[2] = {m_program, nullptr};
};

TEST_F(DownloadInWindowsTest, ASuccessfulUpdateThroughTheWidgets) {
    enum class Step { BeforeDownload, Running, Finished };
    Step step = Step::BeforeDownload;
    std::vector<std::string> afterRow;
    ScreenWatcher user([&] {
        if (AnswerMessageBox() || WatchProgressWindow()) {
            return;
        }
        if (step == Step::BeforeDownload && Idle()) {
            EXPECT_TRUE(Screenshot::Save(MainWindow(), "main-window-before"));
            EXPECT_EQ(Field(IDC_DATA1_PACKAGE_VERSION), "450D42")
                << "the start-up check filled the package row";
            EXPECT_EQ(Field(IDC_DATA1_BEFORE_VERSION), "450B42");
            QTest::mouseClick(DownloadButton(), Qt::LeftButton);
            step = Step::Running;
        } else if (step == Step::Running && Idle() && !boxes.empty()) {
            EXPECT_TRUE(Screenshot::Save(MainWindow(), "main-window-after"));
            for (const int id :
                 {IDC_DATA1_AFTER_VERSION, IDC_DATA1_AFTER_CHECKSUM, IDC_DATA2_AFTER_VERSION,
                  IDC_DATA2_AFTER_CHECKSUM, IDC_DATA3_AFTER_VERSION, IDC_DATA3_AFTER_CHECKSUM,
                  IDC_DATA4_AFTER_VERSION, IDC_DATA4_AFTER_CHECKSUM}) {
                afterRow.push_back(Field(id));
            }
            step = Step::Finished;
            MainWindow()->close();
        }
    });
    RunMainWindow();

    EXPECT_EQ(step, Step::Finished);
    EXPECT_EQ(
        boxes,
        (std::vector<SeenBox>{{kCaptionSuccess, Text(IDS_SUCCESS), QMessageBox::Warning, true}}));
    ASSERT_EQ(progressSeen.size(), 3u);
    EXPECT_EQ(progressSeen[0].caption, "Initializing...");
    EXPECT_EQ(progressSeen[1].caption, "Version Check...");
    EXPECT_EQ(progressSeen[2].caption, "Upgrade");
    for (const SeenProgress& seen : progressSeen) {
        EXPECT_FALSE(seen.mainWindowEnabled) << seen.caption;
        EXPECT_FALSE(seen.downloadEnabled) << seen.caption;
    }
    EXPECT_EQ(afterRow, (std::vector<std::string>{"450D42", "3AC3", "452C11", "BEB3", "", "",
                                                  "454F11", "A789"}));
    EXPECT_TRUE(transferShot);
    EXPECT_EQ(sim.Firmware('p'), "450D42/3AC3");
    EXPECT_EQ(sim.Firmware('s'), "454F11/A789");
    EXPECT_EQ(sim.InDownloadMode(), 0);
    EXPECT_EQ(theApp.LastDownload(), ExitReason::Updated);
    EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(DownloadInWindowsTest, AFailedTransferIsReportedAndThePrinterRestarted) {
    ASSERT_TRUE(sim.Reset("printer\nwrite-fails prepare:t\n"));
    bool pressed = false;
    bool closed = false;
    ScreenWatcher user([&] {
        if (AnswerMessageBox() || WatchProgressWindow() || !Idle()) {
            return;
        }
        if (!pressed) {
            DownloadButton()->click();
            pressed = true;
        } else if (!closed && !boxes.empty()) {
            closed = true;
            MainWindow()->close();
        }
    });
    RunMainWindow();

    EXPECT_TRUE(closed);
    EXPECT_EQ(
        boxes,
        (std::vector<SeenBox>{{kCaptionError, Text(IDS_FAILED), QMessageBox::Warning, true}}));
    EXPECT_TRUE(failureShot);
    EXPECT_EQ(sim.InDownloadMode(), 0) << "restarted";
    EXPECT_EQ(sim.Count("restart"), 1);
    EXPECT_EQ(ExitStatus(), 1);
}

// The session or a signal asks the program to end while an update runs: the update goes on
// to its end with the printer restarted, nobody has to answer its message, and the windows
// then close by themselves.
TEST_F(DownloadInWindowsTest, AnEndAskedForDuringTheTransferFinishesTheUpdateFirst) {
    bool pressed = false;
    std::string titleAfterRequest;
    ScreenWatcher user([&] {
        if (AnswerMessageBox()) {
            return;
        }
        win::DialogWidget* progress = ScreenWatcher::OpenDialog(IDD_PROGRESS_DIALOG);
        if (progress != nullptr && titleAfterRequest.empty() &&
            progress->windowTitle().startsWith(QStringLiteral("Upgrade"))) {
            backend.RequestEnd();
            titleAfterRequest = progress->windowTitle().toStdString();
        }
        if (!pressed && Idle()) {
            DownloadButton()->click();
            pressed = true;
        }
    });
    ::testing::internal::CaptureStderr();
    RunMainWindow();
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(titleAfterRequest, "Upgrade (closing once the update has finished)");
    EXPECT_TRUE(boxes.empty()) << "nobody had to answer a box";
    EXPECT_THAT(said, ::testing::HasSubstr(Text(IDS_SUCCESS).substr(0, 8)));
    EXPECT_EQ(sim.Firmware('p'), "450D42/3AC3");
    EXPECT_EQ(sim.InDownloadMode(), 0);
    EXPECT_EQ(sim.Count("restart"), 1);
    EXPECT_EQ(theApp.LastDownload(), ExitReason::Updated);
    EXPECT_EQ(ExitStatus(), 130) << "an update that succeeded, then ended as asked";
}

TEST_F(DownloadInWindowsTest, AnEndAskedForBeforeDownloadModeLeavesThePrinterUntouched) {
    bool pressed = false;
    ScreenWatcher user([&] {
        if (AnswerMessageBox()) {
            return;
        }
        if (!pressed && Idle()) {
            DownloadButton()->click();
            backend.RequestEnd();
            pressed = true;
        }
    });
    ::testing::internal::CaptureStderr();
    RunMainWindow();
    ::testing::internal::GetCapturedStderr();

    EXPECT_TRUE(pressed);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(sim.Count("download-mode"), 0);
    EXPECT_EQ(sim.Count("restart"), 0);
    EXPECT_EQ(sim.Firmware('p'), "450B42/6B1D") << "untouched";
    EXPECT_EQ(theApp.LastDownload(), ExitReason::Interrupted);
    EXPECT_EQ(ExitStatus(), 130);
}

TEST_F(DownloadInWindowsTest, TheAboutBoxFromF1AndFromTheContextMenu) {
    struct SeenAbout {
        std::string title;
        std::string text;
        bool iconShown;
    };
    std::vector<SeenAbout> seen;
    int stage = 0;
    ScreenWatcher user([&] {
        if (AnswerMessageBox()) {
            return;
        }
        if (win::DialogWidget* about = ScreenWatcher::OpenDialog(IDD_ABOUTBOX)) {
            auto* text = about->findChild<QLabel*>(QStringLiteral("static-1"));
            auto* icon = about->findChild<QLabel*>(QStringLiteral("static-0"));
            seen.push_back({about->windowTitle().toStdString(), text->text().toStdString(),
                            !icon->pixmap().isNull()});
            EXPECT_FALSE(dialog.IsWindowEnabled()) << "the About box is modal";
            about->findChild<QPushButton*>(QStringLiteral("control-%1").arg(win::IDOK))->click();
            return;
        }
        // Each step waits for the About box of the step before it.
        if (!Idle() || seen.size() != static_cast<size_t>(stage)) {
            return;
        }
        switch (stage++) {
            case 0:
                QTest::keyClick(MainWindow(), Qt::Key_F1);
                break;
            case 1: {
                QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                        MainWindow()->mapToGlobal(QPoint(5, 5)));
                QApplication::sendEvent(MainWindow(), &event);
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                ASSERT_NE(menu, nullptr);
                ASSERT_EQ(menu->actions().size(), 1);
                EXPECT_EQ(menu->actions()[0]->text(), "&About...");
                menu->actions()[0]->trigger();
                menu->close();
                break;
            }
            case 2:
                MainWindow()->close();
                break;
            default:
                break;
        }
    });
    RunMainWindow();

    ASSERT_EQ(seen.size(), 2u);
    for (const SeenAbout& about : seen) {
        EXPECT_EQ(about.title, "About");
        EXPECT_EQ(about.text, "KALDERON RX-T9 Update Tool\nVersion 1.20");
        EXPECT_TRUE(about.iconShown);
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(stage, 3);
}

}  // namespace

// The display goes away during a run: the run goes on without windows to its end, with the
// printer restarted, its message boxes written to stderr, and the program ends.
class DisplayLossTest : public DownloadInWindowsTest {
protected:
    // Runs the main window; the display breaks once `breakNow` says so. Returns stderr.
    std::string RunUntilTheDisplayBreaks(const std::function<bool()>& breakNow) {
        bool pressed = false;
        ScreenWatcher user([&] {
            if (breakNow()) {
                displayBroken = true;
                return;
            }
            if (AnswerMessageBox() || WatchProgressWindow()) {
                return;
            }
            if (!pressed && Idle()) {
                DownloadButton()->click();
                pressed = true;
            }
        });
        ::testing::internal::CaptureStderr();
        RunMainWindow();
        return ::testing::internal::GetCapturedStderr();
    }
    static constexpr const char* kBroken =
        "rxt9-update: the connection to the display is broken; the program finishes without "
        "its windows.\n";
};

TEST_F(DisplayLossTest, InTheMiddleOfATransfer) {
    const std::string errors = RunUntilTheDisplayBreaks([] {
        win::DialogWidget* progress = ScreenWatcher::OpenDialog(IDD_PROGRESS_DIALOG);
        auto* bar = progress == nullptr ? nullptr : progress->findChild<QProgressBar*>();
        return progress != nullptr && progress->windowTitle() == "Upgrade" && bar->value() >= 30;
    });
    EXPECT_THAT(errors, ::testing::HasSubstr(std::string(kBroken) +
                                             "rxt9-update: Success!: " + Text(IDS_SUCCESS) + "\n"));
    EXPECT_FALSE(win::IsWindow(dialog.m_hWnd)) << "the main window closed, which ends the program";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(sim.Firmware('s'), "454F11/A789") << "the transfer went on to its end";
    EXPECT_EQ(sim.InDownloadMode(), 0);
    EXPECT_EQ(ExitStatus(), 0) << "the update it finished without windows succeeded";
}

TEST_F(DisplayLossTest, WhileAFailureStandsInDownloadMode) {
    ASSERT_TRUE(sim.Reset("printer\nwrite-fails prepare:t\n"));
    const std::string errors = RunUntilTheDisplayBreaks([] {
        QMessageBox* box = ScreenWatcher::OpenMessageBox();
        return box != nullptr && box->windowTitle() == kCaptionError;
    });
    EXPECT_THAT(errors, ::testing::HasSubstr(std::string(kBroken) +
                                             "rxt9-update: Error: " + Text(IDS_FAILED) + "\n"));
    EXPECT_FALSE(win::IsWindow(dialog.m_hWnd));
    EXPECT_EQ(sim.Count("restart"), 1) << "the box no longer waits for an answer";
    EXPECT_EQ(sim.InDownloadMode(), 0);
    EXPECT_EQ(ExitStatus(), 1);
}
