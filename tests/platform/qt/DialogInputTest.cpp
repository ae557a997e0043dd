// What the user does to the Qt windows becomes the framework's messages: clicks, Enter and
// Esc, the close button, the context menu and F1; a disabled window takes none of it.
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/Resource.h"
#include "app/UpdateApp.h"
#include "platform/ui/Dialog.h"
#include "tests/platform/qt/QtWindowTest.h"
#include "tests/platform/qt/ScreenWatcher.h"

namespace {

class RecordingDialog : public win::CDialog {
public:
    RecordingDialog() : win::CDialog(IDD_UPDATE_DIALOG) {}

    std::vector<UINT> commands;
    std::vector<UINT> systemCommands;
    int shows = 0;
    int cancels = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == win::WM_SHOWWINDOW) {
            ++shows;
        } else if (message == win::WM_SYSCOMMAND) {
            systemCommands.push_back(static_cast<UINT>(wParam));
        }
        return win::CDialog::WindowProc(message, wParam, lParam);
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM /*lParam*/) override {
        commands.push_back(LOWORD(wParam));
        return LOWORD(wParam) == IDC_DOWNLOAD ? TRUE : FALSE;
    }
    void OnCancel() override { ++cancels; }
};

class DialogInputTest : public QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        ASSERT_TRUE(main.Create(IDD_UPDATE_DIALOG));
        main.ShowWindow(win::SW_SHOW);
        Pump();
        theApp.m_pMainWnd = &main;
        window = Widget(main.m_hWnd);
        download = Control<QPushButton>(main.m_hWnd, IDC_DOWNLOAD);
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        main.DestroyWindow();
        QtWindowTest::TearDown();
    }

    void AppendAboutItem() {
        main.GetSystemMenu(FALSE)->AppendMenu(win::MF_SEPARATOR);
        main.GetSystemMenu(FALSE)->AppendMenu(win::MF_STRING, IDM_ABOUTBOX, "&About...");
    }
    static void RightClick(QWidget* widget) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &event);
    }
    static QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
    // Everything the user can do to a window to press, cancel or close it.
    void TryEverything(QWidget* target) {
        QTest::mouseClick(download, Qt::LeftButton);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_F1);
        RightClick(target);
        target->window()->close();
    }

    RecordingDialog main;
    win::DialogWidget* window = nullptr;
    QPushButton* download = nullptr;
};

TEST_F(DialogInputTest, ClicksAndKeysBecomeTheDialogsCommands) {
    QTest::mouseClick(download, Qt::LeftButton);
    Pump();
    QTest::keyClick(window, Qt::Key_Return);
    Pump();
    EXPECT_EQ(main.commands, (std::vector<UINT>{IDC_DOWNLOAD, IDC_DOWNLOAD}))
        << "Enter presses the default button";
    QTest::keyClick(download, Qt::Key_Escape);
    Pump();
    EXPECT_EQ(main.cancels, 1);
    EXPECT_TRUE(window->isVisible()) << "the widget leaves closing to the program";
}

TEST_F(DialogInputTest, TheCloseButtonIsTheCloseCommand) {
    EXPECT_FALSE(window->close());
    Pump();
    EXPECT_EQ(main.systemCommands, std::vector<UINT>{win::SC_CLOSE});
    EXPECT_EQ(main.cancels, 1);
    EXPECT_TRUE(win::IsWindow(main.m_hWnd));
}

TEST_F(DialogInputTest, ADisabledWindowTakesNoInput) {
    AppendAboutItem();
    main.EnableWindow(FALSE);
    TryEverything(window);
    TryEverything(download);
    EXPECT_EQ(OpenMenu(), nullptr);
    Pump();
    EXPECT_TRUE(main.commands.empty());
    EXPECT_TRUE(main.systemCommands.empty());
    EXPECT_EQ(main.cancels, 0);
    EXPECT_TRUE(download->isEnabled()) << "its controls keep their look";

    main.EnableWindow(TRUE);
    QTest::mouseClick(download, Qt::LeftButton);
    Pump();
    EXPECT_EQ(main.commands, std::vector<UINT>{IDC_DOWNLOAD});
}

TEST_F(DialogInputTest, TheProgramsSystemMenuItemsAreInTheContextMenuAndOnF1) {
    RightClick(Control<QLabel>(main.m_hWnd, IDC_DATA1_PACKAGE_VERSION));
    EXPECT_EQ(OpenMenu(), nullptr) << "nothing appended, nothing offered";
    QTest::keyClick(window, Qt::Key_F1);
    Pump();
    EXPECT_TRUE(main.systemCommands.empty());

    AppendAboutItem();
    RightClick(Control<QLabel>(main.m_hWnd, IDC_DATA1_PACKAGE_VERSION));
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1) << "without the separator before it";
    EXPECT_EQ(menu->actions()[0]->text(), "&About...");
    menu->actions()[0]->trigger();
    menu->close();
    Pump();
    QTest::keyClick(download, Qt::Key_F1);
    Pump();
    EXPECT_EQ(main.systemCommands, (std::vector<UINT>{IDM_ABOUTBOX, IDM_ABOUTBOX}));
}

TEST_F(DialogInputTest, WindowShownIsToldOnceForEachRealShow) {
    EXPECT_EQ(main.shows, 1);
    window->showMinimized();
    Pump();
    EXPECT_TRUE(main.IsIconic());
    window->showNormal();
    Pump();
    EXPECT_FALSE(main.IsIconic());
    EXPECT_EQ(main.shows, 1) << "a restore is no new show";
    main.ShowWindow(win::SW_HIDE);
    main.ShowWindow(win::SW_SHOW);
    Pump();
    EXPECT_EQ(main.shows, 2);
}

TEST_F(DialogInputTest, TheProgressWindowSurvivesEnterEscAndClose) {
    CProgressDlg progress(IDS_UPGRADE);
    ASSERT_TRUE(progress.Create());
    win::DialogWidget* progressWindow = Widget(progress.m_hWnd);
    ASSERT_NE(progressWindow, nullptr);
    EXPECT_FALSE(main.IsWindowEnabled());
    for (int id : {IDC_PROGRESS_MESSAGE, IDC_PROGRESS_PERCENT, IDC_PROGRESS_BAR}) {
        QTest::keyClick(progressWindow->ControlWidget(win::GetDlgItem(progress.m_hWnd, id)),
                        Qt::Key_Return);
    }
    QTest::keyClick(progressWindow, Qt::Key_Escape);
    QTest::keyClick(progressWindow, Qt::Key_Enter);
    EXPECT_FALSE(progressWindow->close());
    Control<QPushButton>(progress.m_hWnd, win::IDCANCEL)->click();
    TryEverything(window);
    progress.SetPos(10);  // pumps with the progress window's dialog keyboard
    Pump();
    ASSERT_TRUE(win::IsWindow(progress.m_hWnd));
    EXPECT_TRUE(progressWindow->isVisible());
    EXPECT_TRUE(main.commands.empty());
    EXPECT_EQ(main.cancels, 0);

    progress.DestroyWindow();
    EXPECT_TRUE(main.IsWindowEnabled());
    QTest::mouseClick(download, Qt::LeftButton);
    Pump();
    EXPECT_EQ(main.commands, std::vector<UINT>{IDC_DOWNLOAD});
}

struct BoxCase {
    const char* name;
    UINT type;
    bool owned;
    QMessageBox::Icon icon;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
    *out << c.name;
}

class MessageBoxTest : public DialogInputTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, ShowsCaptionTextIconAndOwner) {
    const BoxCase& box = GetParam();
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon;
        QWidget* parent;
        QList<QAbstractButton*> buttons;
        bool ownerEnabled;
    };
    std::vector<Seen> seen;
    ScreenWatcher user([&] {
        if (QMessageBox* open = ScreenWatcher::OpenMessageBox()) {
            seen.push_back({open->windowTitle(), open->text(), open->icon(), open->parentWidget(),
                            open->buttons(), main.IsWindowEnabled() != FALSE});
            open->button(QMessageBox::Ok)->click();
        }
    });
    const int result =
        win::MessageBox(box.owned ? main.m_hWnd : nullptr,
                        "Printer Error.\nPlease remove an error.", "Error", box.type);
    EXPECT_EQ(result, win::IDOK);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Error");
    EXPECT_EQ(seen[0].text, "Printer Error.\nPlease remove an error.") << "line break kept";
    EXPECT_EQ(seen[0].icon, box.icon);
    EXPECT_EQ(seen[0].parent, box.owned ? window : nullptr);
    EXPECT_EQ(seen[0].buttons.size(), 1);
    EXPECT_EQ(seen[0].ownerEnabled, !box.owned) << "the owner waits for the answer";
    EXPECT_TRUE(main.IsWindowEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxTest,
    ::testing::Values(
        BoxCase{"Warning", win::MB_OK | win::MB_ICONWARNING, true, QMessageBox::Warning},
        BoxCase{"Information", win::MB_OK | win::MB_ICONINFORMATION, true,
                QMessageBox::Information},
        BoxCase{"WithoutOwner", win::MB_OK | win::MB_ICONWARNING, false, QMessageBox::Warning}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

}  // namespace
