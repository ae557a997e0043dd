// The three dialogs as the Qt backend renders them from their templates.
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "app/Resource.h"
#include "platform/qt/IconImage.h"
#include "platform/ui/Dialog.h"
#include "tests/harness/ValueFields.h"
#include "tests/platform/qt/QtWindowTest.h"
#include "tests/platform/qt/TestDesktop.h"
#include "tests/support/ChildProcess.h"

namespace {

using win::ControlKind;

class RenderedDialogsTest : public QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        ASSERT_TRUE(main.Create(IDD_UPDATE_DIALOG));
        main.SetIcon(win::LoadIcon(IDR_MAINFRAME), TRUE);
        main.ShowWindow(win::SW_SHOW);
    }
    void TearDown() override {
        main.DestroyWindow();
        QtWindowTest::TearDown();
    }

    // The widget of each control of a dialog, in template order.
    static std::vector<QWidget*> ControlWidgets(win::HWND dialog) {
        std::vector<QWidget*> widgets;
        for (const auto& child : dialog->children) {
            widgets.push_back(Widget(dialog)->ControlWidget(child.get()));
        }
        return widgets;
    }

    static std::vector<QString> LabelTexts(win::HWND dialog) {
        std::vector<QString> texts;
        for (QWidget* widget : ControlWidgets(dialog)) {
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                texts.push_back(label->text());
            }
        }
        return texts;
    }

    win::CDialog main{IDD_UPDATE_DIALOG};
};

// Every control stands where its template puts it, in the dialog font's units, and is of the
// widget kind its template names; every text fits its control.
void ExpectRenderedFromTemplate(win::HWND dialog) {
    const win::DialogTemplate& data = *dialog->DialogData();
    win::DialogWidget* widget = win::QtBackend::WidgetOf(dialog);
    ASSERT_NE(widget, nullptr);
    const win::DialogUnits units = win::DialogUnits::FromFont(widget->font());
    EXPECT_EQ(widget->size(), units.ToPixels(data.cx, data.cy)) << data.id;
    EXPECT_EQ(widget->minimumSize(), widget->maximumSize()) << "a modal frame does not resize";
    const int dpi = TestDesktop::ChosenDotsPerInch();
    EXPECT_EQ(widget->font().pixelSize(), (8 * dpi + 36) / 72) << "8 points at " << dpi << " dpi";
    EXPECT_TRUE(QFontInfo(widget->font())
                    .family()
                    .startsWith(QString::fromStdString(TestDesktop::ChosenFontSet()->name)))
        << "drawn in the desktop's font set, not "
        << QFontInfo(widget->font()).family().toStdString();
    for (const auto& child : dialog->children) {
        const win::ControlTemplate& control = *child->ControlData();
        QWidget* rendered = widget->ControlWidget(child.get());
        ASSERT_NE(rendered, nullptr) << control.text;
        const QRect expected = units.ToPixels(control.x, control.y, control.cx, control.cy);
        switch (control.kind) {
            case ControlKind::Static: {
                auto* label = qobject_cast<QLabel*>(rendered);
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->geometry(), expected) << control.text;
                const QRect room = label->contentsRect();
                const QRect needed =
                    QFontMetrics(label->font())
                        .boundingRect(room, Qt::TextWordWrap | label->alignment(), label->text());
                EXPECT_TRUE(room.contains(needed) || label->text().isEmpty())
                    << "text cut off: " << control.text << " needs " << needed.width() << "x"
                    << needed.height() << ", has " << room.width() << "x" << room.height();
                break;
            }
            case ControlKind::Button: {
                auto* button = qobject_cast<QPushButton*>(rendered);
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(button->geometry(), expected);
                EXPECT_EQ(button->objectName().toStdString(),
                          "control-" + std::to_string(control.id));
                EXPECT_EQ(button->isDefault(), (control.style & 0x0F) == win::BS_DEFPUSHBUTTON);
                break;
            }
            case ControlKind::ProgressBar: {
                auto* bar = qobject_cast<QProgressBar*>(rendered);
                ASSERT_NE(bar, nullptr);
                EXPECT_EQ(bar->geometry(), expected);
                EXPECT_FALSE(bar->isTextVisible()) << "the percent is a control of its own";
                break;
            }
            case ControlKind::Icon: {
                auto* label = qobject_cast<QLabel*>(rendered);
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->geometry(), QRect(expected.topLeft(), QSize(32, 32)));
                break;
            }
        }
        EXPECT_EQ(rendered->isHidden(), (control.style & win::WS_VISIBLE) == 0) << control.text;
    }
}

TEST_F(RenderedDialogsTest, MainWindow) {
    ExpectRenderedFromTemplate(main.m_hWnd);
    win::DialogWidget* window = Widget(main.m_hWnd);
    EXPECT_EQ(window->windowTitle(), "KALDERON RX-T9 Update Tool");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowType(), Qt::Window) << "a window of its own in the task bar";
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
              win::IconImage::FromResource(win::LoadIcon(IDR_MAINFRAME)));

    auto* download = Control<QPushButton>(main.m_hWnd, IDC_DOWNLOAD);
    ASSERT_NE(download, nullptr);
    EXPECT_EQ(download->text(), "Download");
    EXPECT_TRUE(download->isDefault());
    for (const int id : kValueFields) {
        auto* field = Control<QLabel>(main.m_hWnd, id);
        ASSERT_NE(field, nullptr) << id;
        EXPECT_EQ(field->frameShape(), QFrame::Panel) << id;
        EXPECT_EQ(field->frameShadow(), QFrame::Sunken) << id;
    }
    EXPECT_EQ(Control<QLabel>(main.m_hWnd, IDC_DATA1_PACKAGE_VERSION)->text(), "12345")
        << "the template's text";
    const std::vector<QString> labels = LabelTexts(main.m_hWnd);
    for (const char* text : {"Download Ver.1.20", "Version", "Check sum", "Data in Printer",
                             "Before", "After", "DATA1(M)", "DATA2(T)", "DATA3(F)", "DATA4(M)"}) {
        EXPECT_NE(std::find(labels.begin(), labels.end(), QString(text)), labels.end()) << text;
    }
    EXPECT_EQ(std::count(labels.begin(), labels.end(), QString("DATA3(F)")), 3) << "three rows";
}

TEST_F(RenderedDialogsTest, ProgressWindow) {
    win::CDialog progress(IDD_PROGRESS_DIALOG);
    ASSERT_TRUE(progress.Create(IDD_PROGRESS_DIALOG, &main));
    ExpectRenderedFromTemplate(progress.m_hWnd);
    win::DialogWidget* window = Widget(progress.m_hWnd);
    EXPECT_TRUE(window->isVisible()) << "the template makes it visible";
    EXPECT_EQ(window->windowType(), Qt::Dialog);
    EXPECT_EQ(window->parentWidget(), Widget(main.m_hWnd)) << "owned by the main window";
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    auto* message = Control<QLabel>(progress.m_hWnd, IDC_PROGRESS_MESSAGE);
    EXPECT_TRUE(message->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_TRUE(message->wordWrap());
    EXPECT_EQ(message->frameShape(), QFrame::NoFrame);
    auto* percent = Control<QLabel>(progress.m_hWnd, IDC_PROGRESS_PERCENT);
    EXPECT_EQ(percent->text(), " 0 %");
    EXPECT_TRUE(percent->alignment().testFlag(Qt::AlignHCenter));
    auto* cancel = Control<QPushButton>(progress.m_hWnd, win::IDCANCEL);
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_TRUE(cancel->isHidden());

    auto* bar = Control<QProgressBar>(progress.m_hWnd, IDC_PROGRESS_BAR);
    progress.GetDlgItem(IDC_PROGRESS_BAR)->SendMessage(win::PBM_SETRANGE, 0, MAKELPARAM(0, 200));
    progress.GetDlgItem(IDC_PROGRESS_BAR)->SendMessage(win::PBM_SETPOS, 50);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 200);
    EXPECT_EQ(bar->value(), 50);
    progress.SetDlgItemText(IDC_PROGRESS_MESSAGE,
                            "Loading DATA1(M)...\nDo not power off the printer.");
    EXPECT_EQ(message->text(), "Loading DATA1(M)...\nDo not power off the printer.");
    progress.SetWindowText("Upgrade");
    EXPECT_EQ(window->windowTitle(), "Upgrade");
    progress.DestroyWindow();
    EXPECT_EQ(main.m_hWnd->backendData, Widget(main.m_hWnd)) << "the owner stays";
}

TEST_F(RenderedDialogsTest, AboutBox) {
    win::CDialog about(IDD_ABOUTBOX);
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX, &main));
    about.ShowWindow(win::SW_SHOW);
    ExpectRenderedFromTemplate(about.m_hWnd);
    win::DialogWidget* window = Widget(about.m_hWnd);
    EXPECT_EQ(window->windowTitle(), "About");
    const std::vector<QString> labels = LabelTexts(about.m_hWnd);
    ASSERT_EQ(labels.size(), 3u) << "the icon, the title and the notice";
    EXPECT_EQ(labels[1], "KALDERON RX-T9 Update Tool\nVersion 1.20");
    EXPECT_FALSE(labels[2].isEmpty());
    auto* icon = qobject_cast<QLabel*>(window->ControlWidget(about.m_hWnd->children[0].get()));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              win::IconImage::FromResource(win::LoadIcon(IDR_MAINFRAME)))
        << "the program icon, from the owner";
    auto* ok = Control<QPushButton>(about.m_hWnd, win::IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_GT(ok->x(), window->width() / 2) << "OK at the right";
    about.DestroyWindow();
}

TEST_F(RenderedDialogsTest, ChangedTextsAndStatesReachTheWidgets) {
    main.SetDlgItemText(IDC_DATA1_BEFORE_VERSION, "450B42");
    EXPECT_EQ(Control<QLabel>(main.m_hWnd, IDC_DATA1_BEFORE_VERSION)->text(), "450B42");
    main.GetDlgItem(IDC_DOWNLOAD)->EnableWindow(FALSE);
    EXPECT_FALSE(Control<QPushButton>(main.m_hWnd, IDC_DOWNLOAD)->isEnabled());
    main.GetDlgItem(IDC_DOWNLOAD)->ShowWindow(win::SW_HIDE);
    EXPECT_TRUE(Control<QPushButton>(main.m_hWnd, IDC_DOWNLOAD)->isHidden());
    main.SetWindowText("Renamed");
    EXPECT_EQ(Widget(main.m_hWnd)->windowTitle(), "Renamed");
    main.ShowWindow(win::SW_HIDE);
    EXPECT_FALSE(Widget(main.m_hWnd)->isVisible());
}

// The three dialogs above, drawn once under each font set users have at each common
// resolution, each in a process of its own: fontconfig and the screen are set up once per
// process.
struct Desktop {
    FontSet fonts;
    int dotsPerInch;
};

void PrintTo(const Desktop& desktop, std::ostream* out) {
    *out << desktop.fonts.name << " at " << desktop.dotsPerInch << " dpi";
}

class RenderedOnEveryDesktop : public ::testing::TestWithParam<Desktop> {};

TEST_P(RenderedOnEveryDesktop, EveryTextFitsItsControl) {
    const testing_support::ChildResult drawn =
        testing_support::ChildProcess("/proc/self/exe")
            .Arg(
                "--gtest_filter=RenderedDialogsTest.MainWindow:RenderedDialogsTest.ProgressWindow:"
                "RenderedDialogsTest.AboutBox")
            .Env("RXT9_TEST_FONT_SET", GetParam().fonts.name)
            .Env("RXT9_TEST_DPI", std::to_string(GetParam().dotsPerInch))
            .Run(60000);
    EXPECT_EQ(drawn.exitStatus, 0) << drawn.output;
    EXPECT_NE(drawn.output.find("[  PASSED  ] 3 tests"), std::string::npos) << drawn.output;
}

std::vector<Desktop> EveryDesktop() {
    std::vector<Desktop> desktops;
    for (const FontSet& fonts : TestDesktop::FontSets()) {
        for (const int dotsPerInch : TestDesktop::kResolutions) {
            desktops.push_back({fonts, dotsPerInch});
        }
    }
    return desktops;
}

INSTANTIATE_TEST_SUITE_P(FontSetsAndResolutions, RenderedOnEveryDesktop,
                         ::testing::ValuesIn(EveryDesktop()),
                         [](const ::testing::TestParamInfo<Desktop>& info) {
                             return info.param.fonts.name + "_" +
                                    std::to_string(info.param.dotsPerInch) + "dpi";
                         });

}  // namespace
