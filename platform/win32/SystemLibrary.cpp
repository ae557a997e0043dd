#include "platform/win32/SystemLibrary.h"

#include <windows.h>

#include <cstring>

namespace win32 {

SystemLibrary::SystemLibrary(const char* fileName)
    : m_module(::LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

SystemLibrary::~SystemLibrary() {
    if (m_module != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(m_module));
    }
}

void* SystemLibrary::Proc(const char* name) const {
    if (m_module == nullptr) {
        return nullptr;
    }
    FARPROC proc = ::GetProcAddress(static_cast<HMODULE>(m_module), name);
    void* address = nullptr;
    static_assert(sizeof(proc) == sizeof(address));
    std::memcpy(&address, &proc, sizeof(address));
    return address;
}

}  // namespace win32
