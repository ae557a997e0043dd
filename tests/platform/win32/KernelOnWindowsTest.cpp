// The kernel calls over kernel32: where LoadLibraryA looks, which libraries it refuses, the
// named mutex and the file status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Kernel.h"
#include "tests/support/CaseName.h"

namespace {

using testing_support::PrintTo;

namespace fs = std::filesystem;

fs::path Bin() {
    return fs::path(win::GetModuleDirectory());
}

class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& name)
        : m_path(fs::temp_directory_path() / ("rxt9-kernel-" + name)),
          m_previous(fs::current_path()) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~ScratchDirectory() {
        fs::current_path(m_previous);
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    fs::path m_previous;
};

TEST(KernelOnWindowsTest, ALibraryInTheCurrentDirectoryIsNotLoaded) {
    ScratchDirectory current("planted");
    fs::copy_file(Bin() / "zelport-none" / "ZELPORT.dll", current.Path() / "RXT9PLANTED.dll");
    fs::current_path(current.Path());
    EXPECT_EQ(win::LoadLibraryA("RXT9PLANTED.dll"), nullptr);
    // The same file by its full path is an ordinary library.
    win::HMODULE byPath = win::LoadLibraryA((current.Path() / "RXT9PLANTED.dll").string().c_str());
    ASSERT_NE(byPath, nullptr);
    EXPECT_TRUE(win::FreeLibrary(byPath));
}

TEST(KernelOnWindowsTest, TheProgramsDirectoryIsSearchedFromAnyCurrentDirectory) {
    ScratchDirectory current("elsewhere");
    fs::current_path(current.Path());
    win::HMODULE module = win::LoadLibraryA("ZELPORT.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(win::GetProcAddress(module, "UsbOpenBulk"), nullptr);
    EXPECT_TRUE(win::FreeLibrary(module));
}

struct UnusableLibrary {
    const char* name;
    const char* folder;
    bool loads;  // loads, but lacks UsbDeviceIoControl
};

class UnusableLibraryTest : public testing::TestWithParam<UnusableLibrary> {};

TEST_P(UnusableLibraryTest, IsRefusedWithoutHarm) {
    const fs::path path = Bin() / GetParam().folder / "ZELPORT.dll";
    win::HMODULE module = win::LoadLibraryA(path.string().c_str());
    if (!GetParam().loads) {
        EXPECT_EQ(module, nullptr);
        EXPECT_NE(win::GetLastError(), 0u);
        return;
    }
    ASSERT_NE(module, nullptr);
    EXPECT_NE(win::GetProcAddress(module, "SetVenderID"), nullptr);
    EXPECT_EQ(win::GetProcAddress(module, "UsbDeviceIoControl"), nullptr);
    EXPECT_TRUE(win::FreeLibrary(module));
}

INSTANTIATE_TEST_SUITE_P(Libraries, UnusableLibraryTest,
                         testing::Values(UnusableLibrary{"OtherArchitecture", "zelport-other-arch",
                                                         false},
                                         UnusableLibrary{"Missing", "zelport-nowhere", false},
                                         UnusableLibrary{"Incomplete", "zelport-incomplete", true}),
                         [](const testing::TestParamInfo<UnusableLibrary>& info) {
                             return std::string(info.param.name);
                         });

TEST(KernelOnWindowsTest, ASecondMutexOfTheSameNameReportsThatItExists) {
    const char* name = "rxt9 kernel test mutex";
    const HANDLE first = win::CreateMutexA(nullptr, TRUE, name);
    ASSERT_NE(first, 0);
    EXPECT_NE(win::GetLastError(), ERROR_ALREADY_EXISTS);
    const HANDLE second = win::CreateMutexA(nullptr, TRUE, name);
    EXPECT_EQ(win::GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(win::CloseHandle(second));
    EXPECT_TRUE(win::CloseHandle(first));
}

TEST(KernelOnWindowsTest, FileStatusOfARelativePath) {
    ScratchDirectory current("sales");
    fs::current_path(current.Path());
    EXPECT_EQ(win::GetFileAttributesA("Sales.txt"), INVALID_FILE_ATTRIBUTES);
    std::ofstream("Sales.txt") << "";
    EXPECT_NE(win::GetFileAttributesA("Sales.txt"), INVALID_FILE_ATTRIBUTES);
}

TEST(KernelOnWindowsTest, NoFileCallReachesTheStandardHandles) {
    DWORD moved = 5;
    char byte = 0;
    for (HANDLE handle : {HANDLE{0}, INVALID_HANDLE_VALUE}) {
        EXPECT_FALSE(win::ReadFile(handle, &byte, 1, &moved, nullptr));
        EXPECT_EQ(moved, 0u);
        EXPECT_FALSE(win::WriteFile(handle, &byte, 1, &moved, nullptr));
    }
}

}  // namespace
