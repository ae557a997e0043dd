// A DLL of the system that is no KnownDLL (winmm, comctl32), loaded at run time rather than
// named in the program's import table. The loader looks for the DLLs of an import table in
// the program's own folder first, at the process's start, before any code of ours runs, so a
// file of that name beside the program (a download into the same folder as the zip's) would
// run in it. Loaded here, the DLL comes from the system directory only, or, for comctl32, from
// the Common Controls 6 side-by-side assembly that the manifest names, which Windows consults
// before any directory. The library stays loaded as long as the object lives.
#pragma once

namespace win32 {

class SystemLibrary {
public:
    explicit SystemLibrary(const char* fileName);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The exported function by name; null when the library or the function is missing.
    void* Proc(const char* name) const;

private:
    void* m_module;
};

}  // namespace win32
