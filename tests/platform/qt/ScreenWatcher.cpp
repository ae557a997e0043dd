#include "tests/platform/qt/ScreenWatcher.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/DialogWidget.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/User.h"

ScreenWatcher::ScreenWatcher(std::function<void()> look) {
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, std::move(look));
    m_timer.start();
}

ScreenWatcher::~ScreenWatcher() {
    m_timer.stop();
}

QMessageBox* ScreenWatcher::OpenMessageBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box != nullptr && box->isVisible() ? box : nullptr;
}

win::DialogWidget* ScreenWatcher::OpenDialog(unsigned templateId) {
    const auto dialogs = win::TopLevelWindows();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        win::DialogWidget* widget = win::QtBackend::WidgetOf(*it);
        if (widget != nullptr && (*it)->DialogData()->id == templateId && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}
