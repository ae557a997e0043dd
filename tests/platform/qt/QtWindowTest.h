// Dialogs of the framework on the Qt backend, on the virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>

#include "platform/VirtualClock.h"
#include "platform/qt/DialogWidget.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/User.h"

class QtWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::SetClock(&clock);
        win::SetUiBackend(&backend);
    }
    void TearDown() override {
        win::SetUiBackend(nullptr);
        win::SetClock(nullptr);
    }

    static win::DialogWidget* Widget(win::HWND dialog) { return win::QtBackend::WidgetOf(dialog); }

    template <typename ControlWidget>
    static ControlWidget* Control(win::HWND dialog, int id) {
        win::DialogWidget* widget = Widget(dialog);
        return widget == nullptr
                   ? nullptr
                   : widget->findChild<ControlWidget*>(QStringLiteral("control-%1").arg(id),
                                                       Qt::FindDirectChildrenOnly);
    }

    // Dispatches what the windows have posted, as a dialog's message loop does.
    static void Pump() {
        win::MSG msg{};
        while (win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
            win::HWND dialog =
                msg.hwnd != nullptr && msg.hwnd->parent != nullptr ? msg.hwnd->parent : msg.hwnd;
            if (!win::IsDialogMessage(dialog, &msg)) {
                win::TranslateMessage(&msg);
                win::DispatchMessage(&msg);
            }
        }
    }

    win::VirtualClock clock{10000};
    bool displayBroken = false;
    win::QtBackend backend{[this] { return displayBroken; }};
};
