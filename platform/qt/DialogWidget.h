// The Qt window of one dialog: its controls built from the template, and the user's input
// turned into the messages that the framework dispatches. The widget never acts on input by
// itself: a window that the program keeps open (the progress window) stays open, and a
// disabled window takes no input, as on Windows.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <unordered_map>
#include <vector>

#include "platform/qt/DialogUnits.h"
#include "platform/ui/UiBackend.h"

class QWindow;

namespace win {

class DialogWidget final : public QWidget {
public:
    DialogWidget(HWND dialog, QWidget* owner);
    ~DialogWidget() override;
    DialogWidget(const DialogWidget&) = delete;
    DialogWidget& operator=(const DialogWidget&) = delete;

    HWND Dialog() const { return m_dialog; }
    // The widget that renders a control of this dialog.
    QWidget* ControlWidget(HWND control) const;

    void ShowOnScreen();
    void HideFromScreen();
    // True once after each ShowOnScreen, when the window has really come on screen.
    bool TakeShownNotice();
    void ApplyChange(HWND window, WindowChange change);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateControl(HWND control, int index);
    void ApplyControlChange(HWND control, WindowChange change);
    // Input events of the dialog's widgets; true when the event is taken from Qt.
    bool FilterInput(QObject* watched, QEvent* event);
    void Post(HWND window, UINT message, WPARAM wParam) const;
    void OfferSystemMenu(const QPoint& globalPosition);
    std::vector<MenuItem> ProgramMenuItems() const;
    void PlaceOnFirstShow();
    QPixmap IconPixmap() const;
    void RefreshIconControls();

    HWND m_dialog;
    DialogUnits m_units;
    std::unordered_map<const QObject*, HWND> m_controls;
    QWindow* m_watchedWindow = nullptr;
    bool m_placed = false;
    bool m_awaitingExposure = false;
    bool m_shownNotice = false;
};

}  // namespace win
