// The kernel calls over POSIX and the dynamic loader.
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/Kernel.h"
#include "platform/kernel/LibraryFiles.h"

namespace win {

struct Module {
    void* handle;
    std::string path;
    const ZELPORT_FILE_OPERATIONS* files;  // null for a library that hands out descriptors
};

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

bool EndsWithDll(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return tail == ".dll";
}

// Descriptors 0 to 2 are the process's standard streams. No Windows file call reaches those
// through a small number (0 is the null handle, and the standard handles come from
// GetStdHandle), so a library that hands these numbers out as pipes gets failing calls
// instead of the tool's own terminal: nothing read from its input, written to its output or
// closed under it.
// Says on stderr why a library is refused, which the tool's own message cannot.
void SayWhyRefused(const std::string& why) {
    // In one write, so that the tool's output from another thread cannot split the line.
    std::cerr << std::string(program_invocation_short_name) + ": vendor library refused: " + why +
                     '\n';
}

// In the manner of ssh's strict modes: a library that another user could have written to is
// not run, as that user could make it do anything with the user's rights.
bool IsTrustedLibraryFile(const std::string& path, std::string& reason) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return true;  // the loader says why it cannot load it
    }
    if (info.st_uid != 0 && info.st_uid != geteuid()) {
        reason = "owned by another user (uid " + std::to_string(info.st_uid) + ")";
        return false;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        reason = "users other than its owner can write to it";
        return false;
    }
    return true;
}

bool IsStandardStream(HANDLE handle) {
    return handle >= 0 && handle <= STDERR_FILENO;
}

// The result of a call that a library served: its error code becomes the last error.
BOOL Served(uint32_t error) {
    if (error != ZELPORT_OK) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

DWORD GetLastError() {
    return t_lastError;
}
void SetLastError(DWORD error) {
    t_lastError = error;
}

std::string GetModuleDirectory() {
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return "./";
    }
    buffer.resize(static_cast<size_t>(length));
    return buffer.substr(0, buffer.rfind('/') + 1);
}

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::string path = fileName;
    const char* vendorLibrary = std::getenv("RXT9_ZELPORT");
    if (path == "ZELPORT.dll" && vendorLibrary != nullptr && *vendorLibrary != '\0') {
        path = vendorLibrary;
    }
    if (path.find('/') == std::string::npos) {
        // Only the program's own directory is searched: never the current directory or the
        // loader's search path, where anybody could plant a library of that name.
        if (EndsWithDll(path)) {
            path = path.substr(0, path.size() - 4) + ".so";
        }
        path = GetModuleDirectory() + path;
    }
    std::string distrust;
    if (!IsTrustedLibraryFile(path, distrust)) {
        SayWhyRefused(path + ": " + distrust);
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        SayWhyRefused(error != nullptr ? error : path + ": cannot be loaded");
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    const auto* files =
        static_cast<const ZELPORT_FILE_OPERATIONS*>(dlsym(handle, ZELPORT_FILE_OPERATIONS_SYMBOL));
    LibraryFiles::Instance().Register(files);
    return new Module{handle, path, files};
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (module == nullptr || procName == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void* symbol = dlsym(module->handle, procName);
    if (symbol == nullptr) {
        SayWhyRefused(module->path + " has no entry point " + procName);
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    FARPROC proc = nullptr;
    static_assert(sizeof(proc) == sizeof(symbol));
    std::memcpy(&proc, &symbol, sizeof(proc));
    return proc;
}

BOOL FreeLibrary(HMODULE module) {
    if (module == nullptr) {
        return FALSE;
    }
    LibraryFiles::Instance().Unregister(module->files);
    const int result = dlclose(module->handle);
    delete module;
    return result == 0 ? TRUE : FALSE;
}

void EndProcessWithin(DWORD milliseconds, int status) {
    try {
        std::thread([milliseconds, status] {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            _exit(status);
        }).detach();
    } catch (const std::system_error& error) {
        std::cerr << "cannot bound the time to the end of the program: " << error.what() << "\n";
    }
}

DWORD GetFileAttributesA(LPCSTR path) {
    struct stat info {};
    if (path == nullptr || stat(path, &info) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

namespace {

// One transfer of ReadFile or WriteFile: the owning library's operation on a handle it serves,
// else one system call on the descriptor. The standard streams are not reachable.
template <typename LibraryTransfer, typename DescriptorTransfer>
BOOL TransferOnce(HANDLE file, DWORD* moved, LibraryTransfer library,
                  DescriptorTransfer descriptor) {
    if (moved != nullptr) {
        *moved = 0;
    }
    if (const ZELPORT_FILE_OPERATIONS* owner = LibraryFiles::Instance().OwnerOf(file)) {
        uint32_t count = 0;
        const BOOL served = Served(library(*owner, count));
        if (moved != nullptr) {
            *moved = count;
        }
        return served;
    }
    if (IsStandardStream(file)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ssize_t count = 0;
    do {
        // A signal that arrives before anything moved has not transferred anything.
        count = descriptor(static_cast<int>(file));
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        SetLastError(errno == EAGAIN || errno == EWOULDBLOCK ? ERROR_TIMEOUT : ERROR_GEN_FAILURE);
        return FALSE;
    }
    if (moved != nullptr) {
        *moved = static_cast<DWORD>(count);
    }
    return TRUE;
}

}  // namespace

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
              void* /*overlapped*/) {
    return TransferOnce(
        file, bytesRead,
        [&](const ZELPORT_FILE_OPERATIONS& owner, uint32_t& moved) {
            return owner.read(file, buffer, bytesToRead, &moved);
        },
        [&](int descriptor) { return read(descriptor, buffer, bytesToRead); });
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               void* /*overlapped*/) {
    return TransferOnce(
        file, bytesWritten,
        [&](const ZELPORT_FILE_OPERATIONS& owner, uint32_t& moved) {
            return owner.write(file, buffer, bytesToWrite, &moved);
        },
        [&](int descriptor) { return write(descriptor, buffer, bytesToWrite); });
}

BOOL CloseHandle(HANDLE object) {
    if (const ZELPORT_FILE_OPERATIONS* owner = LibraryFiles::Instance().OwnerOf(object)) {
        return Served(owner->close(object));
    }
    if (object < 0 || IsStandardStream(object) || close(static_cast<int>(object)) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

WORD GetUserDefaultLangID() {
    // The first of these that is set names the locale of messages, as setlocale would read it.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return std::strncmp(value, "ja", 2) == 0 ? LANG_JAPANESE : LANG_ENGLISH_US;
        }
    }
    return LANG_ENGLISH_US;
}

void OpenMissingStandardStreams() {
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(descriptor, F_GETFD) < 0 && errno == EBADF) {
            // open returns the lowest free descriptor: this one.
            const int opened = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            (void)opened;
        }
    }
}

}  // namespace win
