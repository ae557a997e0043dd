#include "tests/support/win32/WindowDriver.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>

namespace win32 {

namespace {

constexpr DWORD kPollMs = 10;
// How long a window has to answer a message sent to it.
constexpr UINT kAnswerMs = 5000;

struct Search {
    DWORD processId;
    std::vector<void*>* windows;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
    const auto* search = reinterpret_cast<const Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window)) {
        search->windows->push_back(window);
    }
    return TRUE;
}

}  // namespace

WindowDriver::~WindowDriver() {
    Kill();
}

bool WindowDriver::Start(const std::string& program, const std::string& arguments,
                         const std::string& directory,
                         const std::vector<std::string>& environment) {
    std::string block;
    const LPCH current = ::GetEnvironmentStringsA();
    for (LPCH entry = current; *entry != '\0'; entry += std::strlen(entry) + 1) {
        block.append(entry).push_back('\0');
    }
    ::FreeEnvironmentStringsA(current);
    for (const std::string& variable : environment) {
        block.append(variable).push_back('\0');
    }
    block.push_back('\0');
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          block.data(), directory.c_str(), &startup, &started)) {
        std::cerr << "cannot start " << program << ": error " << ::GetLastError() << '\n';
        return false;
    }
    ::CloseHandle(started.hThread);
    m_process = started.hProcess;
    m_processId = started.dwProcessId;
    return true;
}

int WindowDriver::WaitForExit(uint32_t milliseconds) {
    if (m_process == nullptr || ::WaitForSingleObject(m_process, milliseconds) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process, &code);
    return static_cast<int>(code);
}

void WindowDriver::Kill() {
    if (m_process != nullptr) {
        if (::WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0) {
            ::TerminateProcess(m_process, 1);
            ::WaitForSingleObject(m_process, INFINITE);
        }
        ::CloseHandle(m_process);
        m_process = nullptr;
    }
}

std::vector<void*> WindowDriver::TopLevelWindows() const {
    std::vector<void*> windows;
    Search search{m_processId, &windows};
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return windows;
}

void* WindowDriver::WaitForWindow(const std::string& caption, uint32_t milliseconds) const {
    const DWORD start = ::GetTickCount();
    do {
        for (void* window : TopLevelWindows()) {
            if (Caption(window) == caption) {
                return window;
            }
        }
        ::Sleep(kPollMs);
    } while (::GetTickCount() - start < milliseconds);
    return nullptr;
}

void* WindowDriver::WaitForMessageBox(const std::vector<std::string>& windows,
                                      uint32_t milliseconds) const {
    const DWORD start = ::GetTickCount();
    do {
        for (void* window : TopLevelWindows()) {
            HWND box = static_cast<HWND>(window);
            const std::string caption = Caption(window);
            if (WindowDriver::ClassName(box) == "#32770" && ::GetDlgItem(box, 0xFFFF) != nullptr &&
                std::find(windows.begin(), windows.end(), caption) == windows.end()) {
                return window;
            }
        }
        ::Sleep(kPollMs);
    } while (::GetTickCount() - start < milliseconds);
    return nullptr;
}

std::string WindowDriver::Caption(void* window) {
    char text[256] = {};
    ::GetWindowTextA(static_cast<HWND>(window), text, sizeof(text));
    return text;
}

std::string WindowDriver::ClassName(void* window) {
    char name[64] = {};
    ::GetClassNameA(static_cast<HWND>(window), name, sizeof(name));
    return name;
}

std::string WindowDriver::ControlText(void* dialog, int id) {
    HWND control = ::GetDlgItem(static_cast<HWND>(dialog), id);
    if (control == nullptr) {
        return {};
    }
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool WindowDriver::IsControlEnabled(void* dialog, int id) {
    HWND control = ::GetDlgItem(static_cast<HWND>(dialog), id);
    return control != nullptr && ::IsWindowEnabled(control) != FALSE;
}

void WindowDriver::Click(void* dialog, int id) {
    HWND control = ::GetDlgItem(static_cast<HWND>(dialog), id);
    if (control != nullptr) {
        ::PostMessageA(control, BM_CLICK, 0, 0);
    }
}

void WindowDriver::Close(void* window) {
    ::PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
}

void WindowDriver::ChooseSystemCommand(void* window, uint32_t command) {
    ::PostMessageA(static_cast<HWND>(window), WM_SYSCOMMAND, command, 0);
}

bool WindowDriver::QueryEndSession(void* window) {
    DWORD_PTR answer = FALSE;
    const LRESULT delivered =
        ::SendMessageTimeoutA(static_cast<HWND>(window), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                              SMTO_ABORTIFHUNG, kAnswerMs, &answer);
    return delivered != 0 && answer != FALSE;
}

void WindowDriver::EndSession(void* window, bool ending) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(static_cast<HWND>(window), WM_ENDSESSION, ending ? TRUE : FALSE,
                          ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, kAnswerMs, &ignored);
}

bool WindowDriver::Exists(void* window) {
    return ::IsWindow(static_cast<HWND>(window)) != FALSE;
}

void WindowDriver::PressKey(void* window, int key) {
    HWND target = static_cast<HWND>(window);
    ::PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    ::PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001));
}

bool WindowDriver::IsForeground(void* window) {
    return ::GetForegroundWindow() == static_cast<HWND>(window);
}

bool WindowDriver::SaveBitmap(void* window, const std::string& path) {
    HWND source = static_cast<HWND>(window);
    RECT frame{};
    ::GetWindowRect(source, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    ::SelectObject(memory, previous);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    std::string pixels(static_cast<size_t>(stride) * static_cast<size_t>(height), '\0');
    ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace win32
