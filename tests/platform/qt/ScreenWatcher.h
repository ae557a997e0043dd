// The user at the screen: looks at the windows on every pass of Qt's event loop, which the
// framework's pump runs inside the program's waits and message boxes, and acts on what it
// sees through the widgets.
#pragma once

#include <QTimer>
#include <functional>

class QMessageBox;
class QWidget;

namespace win {
class DialogWidget;
}

class ScreenWatcher {
public:
    explicit ScreenWatcher(std::function<void()> look);
    ~ScreenWatcher();
    ScreenWatcher(const ScreenWatcher&) = delete;
    ScreenWatcher& operator=(const ScreenWatcher&) = delete;

    // The message box on screen, or null.
    static QMessageBox* OpenMessageBox();
    // The newest window of a dialog template on screen, or null.
    static win::DialogWidget* OpenDialog(unsigned templateId);

private:
    QTimer m_timer;
};
