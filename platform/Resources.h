// Resources of the program: blocks of bytes found by integer id and type name, as the
// resource section of a Windows program holds them. Resource tables register themselves
// when the program starts (see ResourceTable).
#pragma once

#include "platform/Kernel.h"
#include "platform/WinTypes.h"

namespace win {

struct ResourceEntry {
    LPCSTR type;
    WORD id;
    const void* data;
    DWORD size;
};

using HRSRC = const ResourceEntry*;
using HGLOBAL = const void*;

// Declared at namespace scope in the translation unit that holds a table, so that its entries
// are part of the program from its start.
class ResourceTable {
public:
    ResourceTable(const ResourceEntry* entries, size_t count);
    ~ResourceTable();
    ResourceTable(const ResourceTable&) = delete;
    ResourceTable& operator=(const ResourceTable&) = delete;

    // The entry of the tables registered at run time; a table registered later stands in
    // front of earlier ones, as a resource module loaded over the program's own. Null if none.
    static HRSRC FindRegistered(WORD id, LPCSTR type);

private:
    const ResourceEntry* m_entries;
    size_t m_count;
};

// module may be null for the program's own module.
HRSRC FindResourceA(HMODULE module, WORD id, LPCSTR type);
DWORD SizeofResource(HMODULE module, HRSRC resource);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL resource);

}  // namespace win
