#include "platform/qt/QtBackend.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/DialogWidget.h"
#include "platform/qt/IconImage.h"
#include "platform/ui/User.h"

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

HWND TopLevelOf(HWND window) {
    return window->parent != nullptr ? window->parent : window;
}

}  // namespace

DialogWidget* QtBackend::WidgetOf(HWND dialog) {
    return IsWindow(dialog) && dialog->IsDialog() ? static_cast<DialogWidget*>(dialog->backendData)
                                                  : nullptr;
}

bool QtBackend::CreateDialogWindow(HWND dialog) {
    if (QApplication::instance() == nullptr) {
        return false;
    }
    new DialogWidget(dialog, WidgetOf(dialog->owner));
    return true;
}

void QtBackend::DestroyDialogWindow(HWND dialog) {
    delete WidgetOf(dialog);
}

void QtBackend::ShowDialogWindow(HWND dialog, bool show) {
    DialogWidget* widget = WidgetOf(dialog);
    if (widget == nullptr) {
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
    }
    if (change == WindowChange::Icon && window->owner == nullptr && window->IsDialog() &&
        window->bigIcon != nullptr) {
        // The icon of the window without owner is the program's: the message boxes and the
        // owned dialogs show it too.
        QApplication::setWindowIcon(IconImage::ToIcon(window->bigIcon));
    }
}

void QtBackend::PollInput() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    DeliverShownNotices();
}

void QtBackend::WaitForInput(HWND /*modalDialog*/) {
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
    QMessageBox box(BoxIcon(type), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, WidgetOf(owner));
    box.setObjectName(QStringLiteral("message-box"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
}

}  // namespace win
