// The version resource of rxt9-update.exe as Explorer and inventory tools read it, with
// GetFileVersionInfo and VerQueryValue: the project's version in four numbers, and the texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/NativeKernel.h"

namespace {

std::vector<char> ProgramVersionInfo() {
    const std::string program = win32::ModuleDirectory() + "rxt9-update.exe";
    const DWORD size = ::GetFileVersionInfoSizeA(program.c_str(), nullptr);
    std::vector<char> info(size);
    if (size == 0 || !::GetFileVersionInfoA(program.c_str(), 0, size, info.data())) {
        info.clear();
    }
    return info;
}

const std::vector<char>& VersionInfo() {
    static const std::vector<char> info = ProgramVersionInfo();
    return info;
}

// The project's version with as many ".0" as make it four numbers: 1.20 is 1.20.0.0.
std::string FourNumbers(std::string version) {
    for (size_t dots = std::count(version.begin(), version.end(), '.'); dots < 3; ++dots) {
        version += ".0";
    }
    return version;
}

struct Text {
    const char* name;
    std::string value;
};
void PrintTo(const Text& text, std::ostream* out) {
    *out << text.name;
}

class ProgramVersionTest : public testing::TestWithParam<Text> {};

TEST_P(ProgramVersionTest, HoldsTheText) {
    ASSERT_FALSE(VersionInfo().empty()) << "rxt9-update.exe has no version resource";
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + GetParam().name;
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(VersionInfo().data(), path.c_str(), &value, &length)) << path;
    EXPECT_EQ(std::string(static_cast<const char*>(value)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, ProgramVersionTest,
                         testing::Values(Text{"FileVersion", FourNumbers(RXT9_PROJECT_VERSION)},
                                         Text{"ProductVersion", FourNumbers(RXT9_PROJECT_VERSION)},
                                         Text{"CompanyName", "KALDERON"},
                                         Text{"FileDescription", "KALDERON RX-T9 Update Tool"},
                                         Text{"ProductName", "KALDERON RX-T9 Update Tool"},
                                         Text{"OriginalFilename", "rxt9-update.exe"},
                                         Text{"InternalName", "rxt9-update"},
                                         Text{"LegalCopyright", "Copyright (C) KALDERON"}),
                         [](const testing::TestParamInfo<Text>& info) {
                             return std::string(info.param.name);
                         });

TEST(ProgramVersionTest, TheFixedPartHoldsTheSameFourNumbers) {
    ASSERT_FALSE(VersionInfo().empty());
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(VersionInfo().data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    char text[64] = {};
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u", unsigned{HIWORD(fixed->dwFileVersionMS)},
                  unsigned{LOWORD(fixed->dwFileVersionMS)},
                  unsigned{HIWORD(fixed->dwFileVersionLS)},
                  unsigned{LOWORD(fixed->dwFileVersionLS)});
    EXPECT_EQ(text, FourNumbers(RXT9_PROJECT_VERSION));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
