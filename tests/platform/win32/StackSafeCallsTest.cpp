// The vendor library's entry points called through the tool's __cdecl pointers, with
// libraries whose exports are __cdecl and __stdcall. Each is called many times from one frame:
// a call that left the stack pointer off would move this frame's stack further each time and
// crash or corrupt the loop's own state long before the end.
#include <gtest/gtest.h>

#include <string>

#include "platform/Kernel.h"
#include "printer/UsbLibrary.h"
#include "tests/support/CaseName.h"

namespace {

using testing_support::PrintTo;

constexpr int kCalls = 20000;

struct Library {
    const char* name;
    const char* folder;
};

class StackSafeCallsTest : public testing::TestWithParam<Library> {
protected:
    void SetUp() override {
        const std::string path = win::GetModuleDirectory() + GetParam().folder + "\\ZELPORT.dll";
        const win::HMODULE module = win::LoadLibraryA(path.c_str());
        ASSERT_NE(module, nullptr) << path;
        ASSERT_TRUE(m_library.Bind(module));
    }
    void TearDown() override { m_library.Unload(); }

    CUsbLibrary m_library{};
};

TEST_P(StackSafeCallsTest, EveryEntryPointReturnsToASoundStack) {
    const uint16_t productId = 0x5D36;
    volatile uint32_t guard = 0xC0FFEE;
    int accepted = 0;
    for (int i = 0; i < kCalls; ++i) {
        accepted += m_library.SetVenderID(0x2E91) != 0 ? 1 : 0;
        m_library.SetProductID(&productId, 1);
        // The seventh argument is the last one the stub copies for this entry point.
        uint32_t returned = 77;
        m_library.UsbDeviceIoControl(INVALID_HANDLE_VALUE, 1, nullptr, 0, nullptr, 0, &returned);
        ASSERT_EQ(returned, 0u) << "call " << i;
        // An unknown pipe name: a handle would leak otherwise.
        ASSERT_EQ(m_library.UsbOpenBulk("PIPE99", 0), INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(accepted, kCalls);
    EXPECT_EQ(guard, 0xC0FFEEu);
}

TEST_P(StackSafeCallsTest, AFunctionKeepsItsEntryAcrossLookups) {
    CUsbLibrary again{};
    ASSERT_TRUE(again.Bind(m_library.m_hModule));
    EXPECT_EQ(again.SetVenderID, m_library.SetVenderID);
    EXPECT_NE(reinterpret_cast<void*>(m_library.SetVenderID),
              reinterpret_cast<void*>(m_library.SetProductID));
}

INSTANTIATE_TEST_SUITE_P(Conventions, StackSafeCallsTest,
                         testing::Values(Library{"cdecl", "."},
                                         Library{"stdcall", "zelport-stdcall"}),
                         [](const testing::TestParamInfo<Library>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
