#include "platform/qt/QtBackend.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <chrono>
#include <iostream>
#include <thread>

#include "platform/qt/DialogWidget.h"
#include "platform/qt/IconImage.h"
#include "platform/ui/User.h"
#include "platform/ui/WinApp.h"

namespace win {

namespace {

QMessageBox::Icon BoxIcon(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// What the title of a window says once the tool is closing.
const QString kClosingNote = QStringLiteral(" (closing once the update has finished)");

HWND TopLevelOf(HWND window) {
    return window->parent != nullptr ? window->parent : window;
}

}  // namespace

DialogWidget* QtBackend::WidgetOf(HWND dialog) {
    return IsWindow(dialog) && dialog->IsDialog() ? static_cast<DialogWidget*>(dialog->backendData)
                                                  : nullptr;
}

bool QtBackend::DisplayLost() {
    if (!m_displayLost && m_displayBroken && m_displayBroken()) {
        m_displayLost = true;
        std::cerr << "rxt9-update: the connection to the display is broken; the program finishes "
                     "without its windows.\n";
    }
    return m_displayLost;
}

void QtBackend::WatchEndSignals(EndSignals& endSignals) {
    m_endSignals = &endSignals;
    if (endSignals.Descriptor() < 0) {
        return;
    }
    // Owned by the application, which outlives every window.
    auto* notifier = new QSocketNotifier(endSignals.Descriptor(), QSocketNotifier::Read,
                                         QApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [this] { TakeEndSignals(); });
}

void QtBackend::TakeEndSignals() {
    while (m_endSignals != nullptr && m_endSignals->Take() != 0) {
        RequestEnd();
    }
}

void QtBackend::RequestEnd() {
    if (m_endRequested) {
        return;
    }
    m_endRequested = true;
    std::cerr << "rxt9-update: asked to end; the tool closes once a running update has "
                 "finished and the printer is restarted.\n";
    for (HWND dialog : TopLevelWindows()) {
        MarkClosing(dialog);
    }
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && IsWindow(main->m_hWnd)) {
        PostMessage(main->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

void QtBackend::MarkClosing(HWND dialog) const {
    if (DialogWidget* widget = WidgetOf(dialog);
        widget != nullptr && m_endRequested && !widget->windowTitle().endsWith(kClosingNote)) {
        widget->setWindowTitle(widget->windowTitle() + kClosingNote);
    }
}

bool QtBackend::CreateDialogWindow(HWND dialog) {
    if (QApplication::instance() == nullptr || DisplayLost()) {
        return false;
    }
    // The window record holds the widget until DestroyDialogWindow deletes it.
    new DialogWidget(dialog, WidgetOf(dialog->owner));
    MarkClosing(dialog);
    return true;
}

void QtBackend::DestroyDialogWindow(HWND dialog) {
    delete WidgetOf(dialog);
}

void QtBackend::ShowDialogWindow(HWND dialog, bool show) {
    DialogWidget* widget = WidgetOf(dialog);
    if (widget == nullptr || DisplayLost()) {
        return;
    }
    if (show) {
        widget->ShowOnScreen();
    } else {
        widget->HideFromScreen();
    }
}

void QtBackend::WindowChanged(HWND window, WindowChange change) {
    if (!IsWindow(window)) {
        return;
    }
    if (DialogWidget* widget = WidgetOf(TopLevelOf(window))) {
        widget->ApplyChange(window, change);
        if (change == WindowChange::Text && window->IsDialog()) {
            MarkClosing(window);
        }
    }
    if (change == WindowChange::Icon && window->owner == nullptr && window->IsDialog() &&
        window->bigIcon != nullptr) {
        // The icon of the window without owner is the program's: the message boxes and the
        // owned dialogs show it too.
        QApplication::setWindowIcon(IconImage::ToIcon(window->bigIcon));
    }
}

void QtBackend::PollInput() {
    TakeEndSignals();
    if (DisplayLost()) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    DeliverShownNotices();
}

void QtBackend::WaitForInput(HWND modalDialog) {
    TakeEndSignals();
    if (Unattended()) {
        // Nobody can answer the dialog: it is closed, and a dialog that refuses to close ends
        // the program's message loops.
        if (modalDialog == m_closedWithoutDisplay) {
            PostQuitMessage(1);
            return;
        }
        m_closedWithoutDisplay = modalDialog;
        PostMessage(modalDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    // A modal dialog waits only while no run is in progress, so the printer is in normal mode
    // should the display break while Qt waits here.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    DeliverShownNotices();
}

void QtBackend::DeliverShownNotices() {
    for (HWND dialog : TopLevelWindows()) {
        DialogWidget* widget = WidgetOf(dialog);
        if (widget != nullptr && widget->TakeShownNotice()) {
            if (m_firstShown) {
                std::function<void()> observer = std::move(m_firstShown);
                m_firstShown = nullptr;
                observer();
            }
            NotifyWindowShown(dialog);
        }
    }
}

void QtBackend::DrawIcon(HWND dialog, int /*x*/, int /*y*/, HICON icon) {
    // The window manager draws a minimised window as its icon; that picture is the one to set.
    if (DialogWidget* widget = WidgetOf(dialog)) {
        widget->setWindowIcon(IconImage::ToIcon(icon));
    }
}

int QtBackend::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                              UINT type) {
    if (Unattended()) {
        WriteMessageBox(text, caption);
        return IDOK;
    }
    QMessageBox box(BoxIcon(type), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, WidgetOf(owner));
    box.setObjectName(QStringLiteral("message-box"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    RunMessageBox(box);
    if (Unattended()) {
        WriteMessageBox(text, caption);
    }
    return IDOK;
}

void QtBackend::RunMessageBox(QMessageBox& box) {
    // A box may stand while the printer is in download mode (a failed step reports before the
    // restart), so the display is checked between passes of Qt's event loop, and the waiting
    // is done outside Qt, where a broken display cannot end the process.
    constexpr auto kPass = std::chrono::milliseconds(5);
    box.show();
    while (!Unattended()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!box.isVisible()) {
            return;
        }
        std::this_thread::sleep_for(kPass);
    }
}

void QtBackend::WriteMessageBox(const std::string& text, const std::string& caption) {
    std::cerr << "rxt9-update: " << caption << ": " << text << '\n';
}

}  // namespace win
