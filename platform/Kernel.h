// The kernel calls of the Windows platform that the system uses, over POSIX.
#pragma once

#include <string>

#include "platform/WinTypes.h"

namespace win {

struct Module;
using HMODULE = Module*;
using FARPROC = void (*)();

// Timing, through the clock installed with SetClock (see Clock.h).
DWORD GetTickCount();
void Sleep(DWORD milliseconds);

DWORD GetLastError();
void SetLastError(DWORD error);

// A named mutex that marks a running instance for the user's session. Only the creation and
// its ERROR_ALREADY_EXISTS answer are offered; it lasts until the process ends. When the mark
// cannot be made at all, the creation fails (0) and says why on stderr.
HANDLE CreateMutexA(const void* securityAttributes, BOOL initialOwner, LPCSTR name);

// What the last CreateMutexA of the process found, for a front-end that tells a second copy
// apart from a mark that could not be made.
enum class MutexOutcome { NotCreated, Owned, HeldElsewhere, Failed };
MutexOutcome LastMutexOutcome();

// Loads a shared library from the directory of the running program only. A Windows file name
// ending in ".dll" is taken as the same name ending in ".so". A path with a directory in it
// is loaded as given. On Linux, where the package may hold several libraries that offer the
// vendor's entry points, RXT9_ZELPORT names the file that stands for "ZELPORT.dll"; Windows
// loads the vendor's own by its name alone. A library file that another user owns or that users
// other than its owner can write to is refused. Why a library, or one of its entry points, cannot
// be had is said on stderr. A library that exports file operations for its handles (see
// zelport/zelport.h) serves the file calls on them until it is freed.
HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// Once the program has said how it ended: if the process has not ended within the time (on the
// real clock), it ends then with the given status, whatever is still running, such as a
// library's unload that does not return.
void EndProcessWithin(DWORD milliseconds, int status);

// The directory of the running program, with a trailing '/'.
std::string GetModuleDirectory();

DWORD GetFileAttributesA(LPCSTR path);

// On a handle of a loaded library that serves its own handles, the library's operation: one
// synchronous transfer with its true result. On any other handle, one read(2), write(2) or
// close(2) on the descriptor. The standard streams, 0 to 2, are not reachable through them:
// the calls fail with ERROR_INVALID_HANDLE and leave them open.
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               void* overlapped);
BOOL CloseHandle(HANDLE object);

// The language of the user's locale: LANG_JAPANESE for a locale that begins with "ja",
// LANG_ENGLISH_US otherwise.
WORD GetUserDefaultLangID();

// The program's command line, as the C runtime's __argc and __argv give it.
int GetArgCount();
const char* GetArg(int index);
void SetCommandLine(int argc, char** argv);

// Puts /dev/null in place of each standard stream the program was started without, first
// thing in main: otherwise the next descriptor opened (a pipe of the vendor library, the
// display's connection) would take its number, and what the program writes to its output
// would land there.
void OpenMissingStandardStreams();

}  // namespace win
