// The kernel32 calls of the Windows backend, in plain C++ types. The platform's own headers
// define the Windows names (BOOL, DWORD, TRUE, ...) themselves, so no source can include them
// together with <windows.h>: the sources that implement the platform's names call the real
// ones through these functions, whose sources include <windows.h> and nothing of the platform.
#pragma once

#include <cstdint>
#include <string>

namespace win32 {

uint32_t LastError();
void SetLastErrorCode(uint32_t error);

void SleepFor(uint32_t milliseconds);
// Sets the system timer to 1 ms for the life of the process; true when granted.
bool RequestFineTimer();

// The real named mutex; 0 on failure. LastError tells ERROR_ALREADY_EXISTS.
intptr_t CreateNamedMutex(const char* name, bool initialOwner);

// LoadLibraryA with the current directory out of the search: the program's directory and the
// system's directories only. Errors stay silent (no box about a bad image).
void* LoadModule(const char* fileName);
void* ModuleProc(void* module, const char* name);
bool UnloadModule(void* module);
// The directory of the running program, with a trailing backslash.
std::string ModuleDirectory();

uint32_t FileAttributes(const char* path);

// Each cancelled, and failed, once `limitMs` have passed (SynchronousCallDeadline.h).
bool ReadHandle(intptr_t handle, void* buffer, uint32_t size, uint32_t* moved, uint32_t limitMs);
bool WriteHandle(intptr_t handle, const void* buffer, uint32_t size, uint32_t* moved,
                 uint32_t limitMs);
bool CloseKernelHandle(intptr_t handle);
// True for the process's standard input, output and error handles.
bool IsStandardHandle(intptr_t handle);

uint16_t UserLanguage();

struct ResourceBytes {
    const void* data = nullptr;
    uint32_t size = 0;
};
// A resource of the program's own module by integer id and type name ("ICON" finds the icon
// group); empty when there is none.
ResourceBytes FindModuleResource(uint16_t id, const char* type);
// A text of the program's string table in that language; false when it has none.
bool LoadModuleString(uint16_t id, uint16_t language, std::string& text);

}  // namespace win32
