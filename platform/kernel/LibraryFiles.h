// The file operations that loaded vendor libraries serve for their own handles: ReadFile,
// WriteFile and CloseHandle reach the library that owns a handle, as a Windows device handle
// reaches its driver.
#pragma once

#include <vector>

#include "platform/WinTypes.h"
#include "zelport/zelport.h"

namespace win {

class LibraryFiles {
public:
    // The process's table, filled by LoadLibraryA and emptied by FreeLibrary.
    static LibraryFiles& Instance();

    // Takes a library's table, if it is one this kernel understands; a library loaded twice
    // is registered twice and stays until both loads are freed.
    void Register(const ZELPORT_FILE_OPERATIONS* operations);
    void Unregister(const ZELPORT_FILE_OPERATIONS* operations);

    // The table of the library that owns the handle, or null for a descriptor.
    const ZELPORT_FILE_OPERATIONS* OwnerOf(HANDLE handle) const;

private:
    std::vector<const ZELPORT_FILE_OPERATIONS*> m_tables;
};

}  // namespace win
