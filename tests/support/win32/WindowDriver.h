// Drives another program's real windows, as a user would, for end-to-end tests under Wine or
// Windows: starts the program, finds its top-level windows by caption, reads control texts,
// clicks buttons by posting BM_CLICK, answers message boxes and saves a window's picture.
// Posting to the windows needs no focus, no window manager and no pointer, so the tests do
// not depend on what else runs on the display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace win32 {

class WindowDriver {
public:
    WindowDriver() = default;
    ~WindowDriver();
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    // Starts `program` with `arguments` in `directory`, with the environment of this process
    // and the variables in `environment` ("NAME=value") added.
    bool Start(const std::string& program, const std::string& arguments,
               const std::string& directory, const std::vector<std::string>& environment);
    // Waits for the program to end; its exit code, or -1 when it is still running.
    int WaitForExit(uint32_t milliseconds);
    // Ends the program if it still runs.
    void Kill();

    // The program's visible top-level window with this caption, waiting up to `milliseconds`;
    // null when none came.
    void* WaitForWindow(const std::string& caption, uint32_t milliseconds) const;
    // A visible top-level dialog of the program with a message text (control 0xFFFF) whose
    // caption is none of `windows`, the program's own dialogs, waiting up to `milliseconds`.
    void* WaitForMessageBox(const std::vector<std::string>& windows, uint32_t milliseconds) const;
    static std::string Caption(void* window);
    // The name of the window's class: "#32770" for a dialog, "Static", "Button", ...
    static std::string ClassName(void* window);
    // The text of the control with this id; of a message box, id 0xFFFF is its text.
    static std::string ControlText(void* dialog, int id);
    static bool IsControlEnabled(void* dialog, int id);
    static void Click(void* dialog, int id);
    // Posts a press and release of the virtual key to the window, as the keyboard does.
    static void PressKey(void* window, int key);
    static void Close(void* window);
    // Posts a command of the window's system menu (WM_SYSCOMMAND), as choosing it does.
    static void ChooseSystemCommand(void* window, uint32_t command);
    // Asks the window whether the session may end (WM_QUERYENDSESSION), as the system does
    // when the user logs off; its answer, false also when it gave none in time.
    static bool QueryEndSession(void* window);
    // Tells the window that the session ends (WM_ENDSESSION), or with `ending` false that its
    // end was cancelled.
    static void EndSession(void* window, bool ending = true);
    static bool Exists(void* window);
    // The window is the one the user works in now (GetForegroundWindow).
    static bool IsForeground(void* window);
    // Saves what the window shows as a 24-bit BMP file.
    static bool SaveBitmap(void* window, const std::string& path);

private:
    std::vector<void*> TopLevelWindows() const;

    void* m_process = nullptr;
    uint32_t m_processId = 0;
};

}  // namespace win32
