// The kernel calls of Kernel.h over the real kernel32: handles are the real kernel handles,
// held in the platform's integer HANDLE.
#include <string>
#include <vector>

#include "platform/Kernel.h"
#include "platform/win32/NativeKernel.h"
#include "platform/win32/StackSafeCalls.h"

namespace win {

struct Module {
    void* handle;
};

namespace {

constexpr DWORD kNotEnoughMemory = 8;
// The longest a vendor library's transfer may block. A reply follows the printer's fixed waits
// (18 s at most) and comes at once after them; a block may be held for as long as its item may
// take (180 s), as the download's own limits are checked between blocks only.
constexpr uint32_t kReadLimitMs = 30000;
constexpr uint32_t kWriteLimitMs = 190000;

// The standard handles are the tool's own; no file call of a vendor library's pipe reaches them.
bool RefusedHandle(HANDLE handle) {
    if (win32::IsStandardHandle(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return true;
    }
    return false;
}

}  // namespace

DWORD GetLastError() {
    return win32::LastError();
}
void SetLastError(DWORD error) {
    win32::SetLastErrorCode(error);
}

HANDLE CreateMutexA(const void* /*securityAttributes*/, BOOL initialOwner, LPCSTR name) {
    return win32::CreateNamedMutex(name, initialOwner != FALSE);
}

std::string GetModuleDirectory() {
    return win32::ModuleDirectory();
}

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* handle = win32::LoadModule(fileName);
    if (handle == nullptr) {
        return nullptr;
    }
    return new Module{handle};
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (module == nullptr || procName == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void* function = win32::ModuleProc(module->handle, procName);
    if (function == nullptr) {
        return nullptr;
    }
    void* entry = win32::StackSafeCalls::EntryFor(function);
    if (entry == nullptr) {
        SetLastError(kNotEnoughMemory);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(entry);
}

BOOL FreeLibrary(HMODULE module) {
    if (module == nullptr) {
        return FALSE;
    }
    const bool freed = win32::UnloadModule(module->handle);
    delete module;
    return freed ? TRUE : FALSE;
}

DWORD GetFileAttributesA(LPCSTR path) {
    if (path == nullptr) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    return win32::FileAttributes(path);
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
              void* /*overlapped*/) {
    DWORD moved = 0;
    const bool done =
        !RefusedHandle(file) && win32::ReadHandle(file, buffer, bytesToRead, &moved, kReadLimitMs);
    if (bytesRead != nullptr) {
        *bytesRead = moved;
    }
    return done ? TRUE : FALSE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               void* /*overlapped*/) {
    DWORD moved = 0;
    const bool done = !RefusedHandle(file) &&
                      win32::WriteHandle(file, buffer, bytesToWrite, &moved, kWriteLimitMs);
    if (bytesWritten != nullptr) {
        *bytesWritten = moved;
    }
    return done ? TRUE : FALSE;
}

BOOL CloseHandle(HANDLE object) {
    if (RefusedHandle(object)) {
        return FALSE;
    }
    return win32::CloseKernelHandle(object) ? TRUE : FALSE;
}

WORD GetUserDefaultLangID() {
    return win32::UserLanguage();
}

void OpenMissingStandardStreams() {
    // A Windows program without standard handles simply has none; no handle number of a
    // library can take their place.
}

}  // namespace win
