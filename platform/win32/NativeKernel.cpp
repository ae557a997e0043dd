#include "platform/win32/NativeKernel.h"

#include <windows.h>

#include <timeapi.h>

#include <cstring>

#include "platform/win32/SynchronousCallDeadline.h"
#include "platform/win32/SystemLibrary.h"

namespace win32 {

uint32_t LastError() {
    return ::GetLastError();
}
void SetLastErrorCode(uint32_t error) {
    ::SetLastError(error);
}

void SleepFor(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

bool RequestFineTimer() {
    // Loaded for the rest of the process: the period holds while winmm stays loaded.
    static const SystemLibrary winmm("winmm.dll");
    using BeginPeriod = UINT(WINAPI*)(UINT);
    const auto begin = reinterpret_cast<BeginPeriod>(winmm.Proc("timeBeginPeriod"));
    return begin != nullptr && begin(1) == TIMERR_NOERROR;
}

intptr_t CreateNamedMutex(const char* name, bool initialOwner) {
    return reinterpret_cast<intptr_t>(::CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, name));
}

void* LoadModule(const char* fileName) {
    // Set once for the process: every later load, also the system's own, keeps the current
    // directory out, where anybody could plant a library of the same name.
    static const bool restricted =
        ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
                                   LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
    (void)restricted;
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = ::LoadLibraryExA(
        fileName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    const DWORD error = ::GetLastError();
    ::SetErrorMode(previousMode);
    ::SetLastError(error);
    return module;
}

void* ModuleProc(void* module, const char* name) {
    FARPROC proc = ::GetProcAddress(static_cast<HMODULE>(module), name);
    void* address = nullptr;
    static_assert(sizeof(proc) == sizeof(address));
    std::memcpy(&address, &proc, sizeof(address));
    return address;
}

bool UnloadModule(void* module) {
    return ::FreeLibrary(static_cast<HMODULE>(module)) != FALSE;
}

std::string ModuleDirectory() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return ".\\";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/") + 1);
}

uint32_t FileAttributes(const char* path) {
    return ::GetFileAttributesA(path);
}

bool ReadHandle(intptr_t handle, void* buffer, uint32_t size, uint32_t* moved, uint32_t limitMs) {
    const SynchronousCallDeadline deadline(limitMs);
    DWORD count = 0;
    const BOOL result = ::ReadFile(reinterpret_cast<HANDLE>(handle), buffer, size, &count, nullptr);
    *moved = count;
    return result != FALSE;
}

bool WriteHandle(intptr_t handle, const void* buffer, uint32_t size, uint32_t* moved,
                 uint32_t limitMs) {
    const SynchronousCallDeadline deadline(limitMs);
    DWORD count = 0;
    const BOOL result =
        ::WriteFile(reinterpret_cast<HANDLE>(handle), buffer, size, &count, nullptr);
    *moved = count;
    return result != FALSE;
}

bool CloseKernelHandle(intptr_t handle) {
    return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

bool IsStandardHandle(intptr_t handle) {
    for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE standard = ::GetStdHandle(stream);
        if (standard != nullptr && standard != INVALID_HANDLE_VALUE &&
            reinterpret_cast<intptr_t>(standard) == handle) {
            return true;
        }
    }
    return false;
}

uint16_t UserLanguage() {
    return ::GetUserDefaultLangID();
}

ResourceBytes FindModuleResource(uint16_t id, const char* type) {
    LPCSTR resourceType = std::strcmp(type, "ICON") == 0 ? RT_GROUP_ICON : type;
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), resourceType);
    if (resource == nullptr) {
        return {};
    }
    HGLOBAL loaded = ::LoadResource(module, resource);
    return {::LockResource(loaded), ::SizeofResource(module, resource)};
}

bool LoadModuleString(uint16_t id, uint16_t language, std::string& text) {
    // A string table holds its texts in blocks of sixteen, each a count and UTF-16 units.
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC block = ::FindResourceExA(module, RT_STRING,
                                    MAKEINTRESOURCEA(static_cast<WORD>((id >> 4) + 1)), language);
    if (block == nullptr) {
        return false;
    }
    const auto* units = static_cast<const WCHAR*>(::LockResource(::LoadResource(module, block)));
    const DWORD total = ::SizeofResource(module, block) / sizeof(WCHAR);
    DWORD at = 0;
    for (unsigned index = 0; index < (id & 0x0Fu); ++index) {
        if (at >= total) {
            return false;
        }
        at += 1 + units[at];
    }
    if (at >= total || units[at] == 0 || at + 1 + units[at] > total) {
        return false;
    }
    const int length = units[at];
    const int bytes =
        ::WideCharToMultiByte(CP_ACP, 0, units + at + 1, length, nullptr, 0, nullptr, nullptr);
    text.assign(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, units + at + 1, length, text.data(), bytes, nullptr, nullptr);
    return true;
}

}  // namespace win32
