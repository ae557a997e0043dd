// A DLL to plant beside rxt9-update.exe under the name of a system DLL that is no KnownDLL
// (winmm.dll, comctl32.dll). As it is loaded it leaves a marker file beside itself, named
// after its own file with ".loaded" added. It exports what the program's import table once
// named from either, so that a program importing them would bind to it and go on running.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

extern "C" {

__declspec(dllexport) UINT WINAPI timeBeginPeriod(UINT /*period*/) {
    return 0;
}

__declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void* /*controls*/) {
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(self, path, MAX_PATH);
        const std::string marker = std::string(path) + ".loaded";
        HANDLE file = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
        }
    }
    return TRUE;
}

}  // extern "C"
