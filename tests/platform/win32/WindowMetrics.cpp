#include "tests/platform/win32/WindowMetrics.h"

#include <windows.h>

#include "tests/support/win32/WindowDriver.h"

namespace win32 {

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";

}  // namespace

WindowMetrics::Size WindowMetrics::ClientSize(void* window) {
    RECT client{};
    ::GetClientRect(static_cast<HWND>(window), &client);
    return {client.right - client.left, client.bottom - client.top};
}

std::vector<std::string> WindowMetrics::ClippedTexts(void* dialog) {
    std::vector<std::string> clipped;
    for (HWND control = ::GetWindow(static_cast<HWND>(dialog), GW_CHILD); control != nullptr;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        const std::string text = WindowDriver::Caption(control);
        const std::string kind = WindowDriver::ClassName(control);
        if (text.empty() || (kind != "Static" && kind != "Button")) {
            continue;
        }
        HDC context = ::GetDC(control);
        const HGDIOBJ previous = ::SelectObject(
            context, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32A(context, text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(context, previous);
        ::ReleaseDC(control, context);
        const Size room = ClientSize(control);
        if (extent.cx > room.width || extent.cy > room.height) {
            clipped.push_back(std::to_string(::GetDlgCtrlID(control)) + ": " + text);
        }
    }
    return clipped;
}

unsigned WindowMetrics::SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return static_cast<unsigned>(dpi);
}

bool WindowMetrics::SetLogPixels(unsigned dpi) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD value = dpi;
    const LONG result =
        dpi == 0 ? ::RegDeleteValueA(key, "LogPixels")
                 : ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS || (dpi == 0 && result == ERROR_FILE_NOT_FOUND);
}

}  // namespace win32
