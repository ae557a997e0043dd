// The least a Windows program with a window does: registers a class, shows one empty window
// and pumps messages until it is closed. windows_bench starts it as it starts rxt9-update.exe,
// so that what the system itself costs to start a program and show a window (Wine's process
// start, its user32 and X11 driver) stands apart from what the tool adds.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "rxt9-blank-window";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowA("rxt9-blank-window", "Blank window", WS_OVERLAPPEDWINDOW, 0, 0,
                                  400, 300, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOW);
    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
