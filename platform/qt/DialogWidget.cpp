#include "platform/qt/DialogWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "platform/qt/IconImage.h"
#include "platform/ui/User.h"

namespace win {

namespace {

constexpr UINT kFirstStandardCommand = SC_SIZE;

double ScreenDotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

DialogUnits UnitsFor(const DialogTemplate& dialog) {
    return DialogUnits::FromFont(
        DialogUnits::DialogFont(dialog.fontName, dialog.fontPointSize, ScreenDotsPerInch()));
}

Qt::WindowFlags FlagsFor(const DialogTemplate& dialog, bool owned) {
    // A window of its own in the task bar unless it belongs to an owner; no resizing frame and
    // only the caption buttons the template asks for.
    const bool appWindow = (dialog.exStyle & WS_EX_APPWINDOW) != 0 || !owned;
    Qt::WindowFlags flags = (appWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint;
    if ((dialog.style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::WindowTitleHint;
    }
    if ((dialog.style & WS_SYSMENU) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((dialog.style & WS_MINIMIZEBOX) != 0) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if ((dialog.style & WS_MAXIMIZEBOX) != 0) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    return flags;
}

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

Qt::Alignment AlignmentFor(DWORD style) {
    const Qt::Alignment horizontal = (style & 0x3) == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
    return horizontal | Qt::AlignTop;
}

}  // namespace

DialogWidget::DialogWidget(HWND dialog, QWidget* owner)
    : QWidget(owner, FlagsFor(*dialog->DialogData(), owner != nullptr)),
      m_dialog(dialog),
      m_units(UnitsFor(*dialog->DialogData())) {
    const DialogTemplate& data = *dialog->DialogData();
    setObjectName(QStringLiteral("dialog-%1").arg(data.id));
    setFont(DialogUnits::DialogFont(data.fontName, data.fontPointSize, ScreenDotsPerInch()));
    setFixedSize(m_units.ToPixels(data.cx, data.cy));
    setWindowTitle(QString::fromStdString(dialog->text));
    installEventFilter(this);
    m_controls.emplace(this, dialog);
    int index = 0;
    for (const auto& child : dialog->children) {
        CreateControl(child.get(), index++);
    }
    dialog->backendData = this;
}

DialogWidget::~DialogWidget() {
    m_dialog->backendData = nullptr;
    for (const auto& child : m_dialog->children) {
        child->backendData = nullptr;
    }
}

void DialogWidget::CreateControl(HWND control, int index) {
    const ControlTemplate& data = *control->ControlData();
    const QString text = QString::fromStdString(control->text);
    QWidget* widget = nullptr;
    switch (data.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(text, this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(AlignmentFor(data.style));
            label->setWordWrap(true);
            if ((data.style & SS_SUNKEN) != 0) {
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                label->setLineWidth(1);
            }
            widget = label;
            break;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            button->setDefault((data.style & 0x0F) == BS_DEFPUSHBUTTON);
            // A click becomes the button's own click message, which the framework turns into
            // the dialog's command only while button and dialog take input.
            connect(button, &QPushButton::clicked, this,
                    [this, control] { Post(control, BM_CLICK, 0); });
            widget = button;
            break;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(this);
            bar->setTextVisible(false);
            widget = bar;
            break;
        }
    }
    widget->setObjectName(data.id == IDC_STATIC ? QStringLiteral("static-%1").arg(index)
                                                : QStringLiteral("control-%1").arg(data.id));
    const QRect rect = m_units.ToPixels(data.x, data.y, data.cx, data.cy);
    // An icon control takes the size of its icon, as on Windows.
    widget->setGeometry(data.kind == ControlKind::Icon
                            ? QRect(rect.topLeft(), QSize(IconImage::kSide, IconImage::kSide))
                            : rect);
    widget->setEnabled(control->enabled);
    widget->setVisible(control->visible);
    widget->installEventFilter(this);
    control->backendData = widget;
    m_controls.emplace(widget, control);
    // A bar starts at the range and position of its record.
    ApplyControlChange(control, WindowChange::Progress);
    if (data.kind == ControlKind::Icon) {
        RefreshIconControls();
    }
}

QWidget* DialogWidget::ControlWidget(HWND control) const {
    return control != nullptr && control->parent == m_dialog
               ? static_cast<QWidget*>(control->backendData)
               : nullptr;
}

void DialogWidget::ShowOnScreen() {
    PlaceOnFirstShow();
    m_awaitingExposure = true;
    show();
    activateWindow();
    QWindow* window = windowHandle();
    if (window != nullptr && window != m_watchedWindow) {
        m_watchedWindow = window;
        window->installEventFilter(this);
    }
    if (window != nullptr && window->isExposed()) {
        m_awaitingExposure = false;
        m_shownNotice = true;
    }
}

void DialogWidget::HideFromScreen() {
    m_awaitingExposure = false;
    m_shownNotice = false;
    hide();
}

bool DialogWidget::TakeShownNotice() {
    const bool notice = m_shownNotice;
    m_shownNotice = false;
    return notice;
}

void DialogWidget::PlaceOnFirstShow() {
    if (m_placed) {
        return;
    }
    m_placed = true;
    QRect area;
    if (parentWidget() != nullptr) {
        area = parentWidget()->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) {
        move(area.center() - rect().center());
    }
}

void DialogWidget::ApplyChange(HWND window, WindowChange change) {
    if (window != m_dialog) {
        ApplyControlChange(window, change);
        return;
    }
    switch (change) {
        case WindowChange::Text:
            setWindowTitle(QString::fromStdString(m_dialog->text));
            return;
        case WindowChange::Icon:
            setWindowIcon(IconImage::ToIcon(m_dialog->bigIcon != nullptr ? m_dialog->bigIcon
                                                                         : m_dialog->smallIcon));
            RefreshIconControls();
            return;
        case WindowChange::Minimised:
            if (isVisible() && isMinimized() != m_dialog->minimised) {
                m_dialog->minimised ? showMinimized() : showNormal();
            }
            return;
        case WindowChange::Focus:
            if (m_dialog->focus == nullptr) {
                setFocus(Qt::OtherFocusReason);
            }
            return;
        case WindowChange::Enabled:
            // Input is refused in the event filter; the controls keep their look, as the
            // controls of a disabled dialog do on Windows.
            if (!m_dialog->enabled) {
                if (QWidget* popup = QApplication::activePopupWidget();
                    popup != nullptr && popup->parentWidget() == this) {
                    popup->close();
                }
            }
            return;
        case WindowChange::Visible:
        case WindowChange::Progress:
            return;
    }
}

void DialogWidget::ApplyControlChange(HWND control, WindowChange change) {
    QWidget* widget = ControlWidget(control);
    if (widget == nullptr) {
        return;
    }
    switch (change) {
        case WindowChange::Text:
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                label->setText(QString::fromStdString(control->text));
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                button->setText(QString::fromStdString(control->text));
            }
            return;
        case WindowChange::Enabled:
            widget->setEnabled(control->enabled);
            return;
        case WindowChange::Visible:
            widget->setVisible(control->visible);
            return;
        case WindowChange::Progress:
            if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
                const ProgressState& state = control->progress;
                bar->setRange(state.lower, std::max(state.lower, state.upper));
                bar->setValue(state.position);
            }
            return;
        case WindowChange::Focus:
            if (m_dialog->focus == control) {
                widget->setFocus(Qt::OtherFocusReason);
            }
            return;
        case WindowChange::Icon:
        case WindowChange::Minimised:
            return;
    }
}

QPixmap DialogWidget::IconPixmap() const {
    // An icon control shows the dialog's icon, else its owner's, else the program's.
    for (HWND window : {m_dialog, m_dialog->owner}) {
        if (window != nullptr && IsWindow(window)) {
            const QImage image = IconImage::FromResource(
                window->bigIcon != nullptr ? window->bigIcon : window->smallIcon);
            if (!image.isNull()) {
                return QPixmap::fromImage(image);
            }
        }
    }
    return QApplication::windowIcon().pixmap(IconImage::kSide, IconImage::kSide);
}

void DialogWidget::RefreshIconControls() {
    const QPixmap pixmap = IconPixmap();
    for (const auto& child : m_dialog->children) {
        if (child->ControlData()->kind == ControlKind::Icon) {
            if (auto* label = qobject_cast<QLabel*>(ControlWidget(child.get()))) {
                label->setPixmap(pixmap);
            }
        }
    }
}

void DialogWidget::Post(HWND window, UINT message, WPARAM wParam) const {
    PostMessage(window, message, wParam, 0);
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watchedWindow) {
        if (event->type() == QEvent::Expose && m_awaitingExposure && m_watchedWindow->isExposed()) {
            m_awaitingExposure = false;
            m_shownNotice = true;
        }
        return false;
    }
    if (!IsInputEvent(event->type())) {
        return false;
    }
    return FilterInput(watched, event);
}

bool DialogWidget::FilterInput(QObject* watched, QEvent* event) {
    if (!m_dialog->enabled) {
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        OfferSystemMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool press = event->type() == QEvent::KeyPress;
    const auto found = m_controls.find(watched);
    HWND target = found != m_controls.end() ? found->second : m_dialog;
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            // The dialog keyboard is the framework's: the default button, Esc's cancel and the
            // progress window's refusal of both are decided by the message handlers.
            if (press) {
                Post(target, WM_KEYDOWN, key->key() == Qt::Key_Escape ? VK_ESCAPE : VK_RETURN);
            }
            return true;
        case Qt::Key_F1:
            // Linux window managers offer no system menu to extend: F1 chooses the first item
            // that the program appended to it.
            if (press) {
                const std::vector<MenuItem> items = ProgramMenuItems();
                for (const MenuItem& item : items) {
                    if ((item.flags & MF_SEPARATOR) == 0) {
                        Post(m_dialog, WM_SYSCOMMAND, item.id);
                        break;
                    }
                }
            }
            return true;
        case Qt::Key_Space:
            if ((key->modifiers() & Qt::AltModifier) != 0) {
                if (press) {
                    OfferSystemMenu(mapToGlobal(QPoint(0, 0)));
                }
                return true;
            }
            return false;
        default:
            return false;
    }
}

std::vector<MenuItem> DialogWidget::ProgramMenuItems() const {
    // The window manager's own menu has Move and Close; the program's items are the others,
    // without separators at either end.
    std::vector<MenuItem> items;
    for (const MenuItem& item : m_dialog->systemMenu) {
        const bool separator = (item.flags & MF_SEPARATOR) != 0;
        if (separator ? !items.empty() : item.id < kFirstStandardCommand) {
            items.push_back(item);
        }
    }
    while (!items.empty() && (items.back().flags & MF_SEPARATOR) != 0) {
        items.pop_back();
    }
    return items;
}

void DialogWidget::OfferSystemMenu(const QPoint& globalPosition) {
    const std::vector<MenuItem> items = ProgramMenuItems();
    if (items.empty()) {
        return;
    }
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("system-menu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const MenuItem& item : items) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            menu->addSeparator();
            continue;
        }
        const UINT command = item.id;
        menu->addAction(QString::fromStdString(item.text), this,
                        [this, command] { Post(m_dialog, WM_SYSCOMMAND, command); });
    }
    menu->popup(globalPosition);
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // Closing is the program's decision: the request becomes the caption's close command.
    event->ignore();
    if (m_dialog->enabled) {
        Post(m_dialog, WM_SYSCOMMAND, SC_CLOSE);
    }
}

void DialogWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible() &&
        isMinimized() != m_dialog->minimised) {
        // Minimised or restored through the window manager: the framework records it through
        // the same commands as on Windows.
        Post(m_dialog, WM_SYSCOMMAND, isMinimized() ? SC_MINIMIZE : SC_RESTORE);
    }
}

}  // namespace win
