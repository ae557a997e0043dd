// The user32 and comctl32 calls of the Windows backend, in plain C++ types (see NativeKernel.h
// for why they stand apart). A native window is a real HWND.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace win32 {

using NativeWindow = void*;

// What a real dialog reports back to the framework's window record.
class NativeDialogEvents {
public:
    virtual ~NativeDialogEvents() = default;
    virtual void OnCommand(int id, int code) = 0;
    // Enter or Esc (the virtual key) was pressed in the dialog. What they do is the
    // framework's to decide: only a loop that offers a message to the dialog's keyboard
    // processing lets them choose the default button or cancel.
    virtual void OnDialogKey(int key) = 0;
    virtual void OnSysCommand(uint32_t command) = 0;
    virtual void OnClose() = 0;
    virtual void OnShown() = 0;
    // The session asks whether it may end (WM_QUERYENDSESSION); true lets it.
    virtual bool OnQueryEndSession() = 0;
    // The session ends (WM_ENDSESSION with TRUE: the process may be ended after the return),
    // or its end was cancelled (FALSE).
    virtual void OnEndSession(bool ending) = 0;
};

struct NativeMenuItem {
    bool separator;
    uint32_t id;
    std::string text;
};

class NativeWindows {
public:
    // Loads comctl32 (Common Controls 6, as the manifest names them) and registers its classes
    // (the progress bar), once per process.
    static void InitialiseControls();

    // A modeless dialog from an in-memory template, owned by `owner` (may be null); null when
    // user32 refuses it.
    static NativeWindow CreateDialogWindow(const std::vector<uint8_t>& dialogTemplate,
                                           NativeWindow owner, NativeDialogEvents* events);
    // The dialog's controls in the order of its template.
    static std::vector<NativeWindow> Controls(NativeWindow dialog);
    static void Destroy(NativeWindow window);

    static void SetText(NativeWindow window, const std::string& text);
    static void Enable(NativeWindow window, bool enable);
    static void Show(NativeWindow window, bool show);
    static void Minimise(NativeWindow window, bool minimise);
    static void Focus(NativeWindow window);
    static void SetProgress(NativeWindow bar, int lower, int upper, int position, int step);
    // Sets the program icon (resource `iconId`) as the window's big or small icon.
    static void SetIcon(NativeWindow window, uint16_t iconId, bool big);
    static void AppendSystemMenu(NativeWindow window, const std::vector<NativeMenuItem>& items);
    static void DrawIcon(NativeWindow window, int x, int y, uint16_t iconId);

    // Removes and dispatches every message of the thread's real queue, each offered first to
    // the keyboard handling of the dialog it belongs to, except Enter and Esc, which go to the
    // dialog's events. False once WM_QUIT was among them.
    static bool PumpPending();
    // Blocks until a message arrives in the thread's real queue.
    static void WaitForMessages();

    // Tells the system why the window holds the session's end up, where the system can show
    // it (Windows Vista and later).
    static void BlockShutdown(NativeWindow window, const wchar_t* reason);
    static void UnblockShutdown(NativeWindow window);

    static int ShowMessageBox(NativeWindow owner, const std::string& text,
                              const std::string& caption, uint32_t type);
    static std::string WindowText(NativeWindow window);
};

}  // namespace win32
