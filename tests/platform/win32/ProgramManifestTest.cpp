// The manifest of rxt9-update.exe, read back from the program's own resources as Windows
// reads it before the program starts, and its effect in a process that carries it (this suite
// carries the program's resources): Common Controls 6 in place of the system's 5.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

#include <cctype>
#include <string>

#include "platform/win32/NativeKernel.h"
#include "platform/win32/NativeWindows.h"

namespace {

// The manifest with each run of white space as one space, so that a setting reads as one
// line whatever the file's layout; empty when the program has none.
std::string ProgramManifest() {
    const std::string program = win32::ModuleDirectory() + "rxt9-update.exe";
    HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return {};
    }
    std::string manifest;
    if (HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const auto* bytes =
            static_cast<const char*>(::LockResource(::LoadResource(module, resource)));
        const DWORD size = ::SizeofResource(module, resource);
        for (DWORD i = 0; i < size; ++i) {
            const bool space = bytes[i] == ' ' || bytes[i] == '\n' || bytes[i] == '\r';
            if (!space) {
                manifest.push_back(bytes[i]);
            } else if (!manifest.empty() && manifest.back() != ' ') {
                manifest.push_back(' ');
            }
        }
    }
    ::FreeLibrary(module);
    return manifest;
}

struct Setting {
    const char* name;
    const char* text;
};
void PrintTo(const Setting& setting, std::ostream* out) {
    *out << setting.name;
}

class ProgramManifestTest : public testing::TestWithParam<Setting> {};

TEST_P(ProgramManifestTest, HoldsTheSetting) {
    static const std::string manifest = ProgramManifest();
    ASSERT_FALSE(manifest.empty()) << "rxt9-update.exe has no manifest (type 24, id 1)";
    EXPECT_NE(manifest.find(GetParam().text), std::string::npos) << manifest;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ProgramManifestTest,
    testing::Values(
        Setting{"AsInvoker", R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"},
        Setting{"CommonControls6",
                R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0" )"
                R"(processorArchitecture="*" publicKeyToken="6595b64144ccf1df")"},
        Setting{"SystemAwareBeforeWindows10",
                R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">)"
                R"(true</dpiAware>)"},
        Setting{"PerMonitorV2ThenSystem",
                R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">)"
                R"(PerMonitorV2, System</dpiAwareness>)"},
        Setting{"Windows7", R"(<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>)"},
        Setting{"Windows8", R"(<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>)"},
        Setting{"Windows81", R"(<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>)"},
        Setting{"Windows10And11", R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)"}),
    [](const testing::TestParamInfo<Setting>& info) { return std::string(info.param.name); });

// Wine 8 has one comctl32, whose DllGetVersion answers 5.81 whichever assembly loaded it;
// there the module's file tells: the one of the Common-Controls 6.0 side-by-side assembly, not
// the system directory's.
bool IsWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(CommonControlsTest, Version6IsActiveInTheProcess) {
    win32::NativeWindows::InitialiseControls();
    HMODULE comctl32 = ::GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl32, nullptr);
    const auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(comctl32, "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    DLLVERSIONINFO version{};
    version.cbSize = sizeof(version);
    ASSERT_EQ(getVersion(&version), S_OK);
    if (version.dwMajorVersion == 6 || !IsWine()) {
        EXPECT_EQ(version.dwMajorVersion, 6u) << "." << version.dwMinorVersion;
        return;
    }
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(comctl32, path, sizeof(path));
    std::string file = path;
    for (char& c : file) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_NE(file.find("\\winsxs\\"), std::string::npos) << file;
    EXPECT_NE(file.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
              std::string::npos)
        << file;
}

}  // namespace
