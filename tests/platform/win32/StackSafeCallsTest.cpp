// The vendor library's entry points called through the tool's __cdecl pointers, with
// libraries whose exports are __cdecl and __stdcall. Each is called many times from one frame:
// a call that left the stack pointer off would move this frame's stack further each time and
// crash or corrupt the loop's own state long before the end.
#include <gtest/gtest.h>

#include <string>

#include "platform/Kernel.h"
#include "tests/support/CaseName.h"
#include "zelport/zelport.h"

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
        m_module = win::LoadLibraryA(path.c_str());
        ASSERT_NE(m_module, nullptr) << path;
    }
    void TearDown() override {
        if (m_module != nullptr) {
            win::FreeLibrary(m_module);
        }
    }
    template <typename Entry>
    Entry Lookup(const char* name) {
        return reinterpret_cast<Entry>(win::GetProcAddress(m_module, name));
    }

    win::HMODULE m_module = nullptr;
};

TEST_P(StackSafeCallsTest, EveryEntryPointReturnsToASoundStack) {
    auto setVendor = Lookup<PFN_SetVenderID>("SetVenderID");
    auto setProduct = Lookup<PFN_SetProductID>("SetProductID");
    auto openBulk = Lookup<PFN_UsbOpenBulk>("UsbOpenBulk");
    auto ioControl = Lookup<PFN_UsbDeviceIoControl>("UsbDeviceIoControl");
    ASSERT_NE(setVendor, nullptr);
    ASSERT_NE(setProduct, nullptr);
    ASSERT_NE(openBulk, nullptr);
    ASSERT_NE(ioControl, nullptr);
    const uint16_t productId = 0x5D36;
    volatile uint32_t guard = 0xC0FFEE;
    int accepted = 0;
    for (int i = 0; i < kCalls; ++i) {
        accepted += setVendor(0x2E91) != 0 ? 1 : 0;
        setProduct(&productId, 1);
        // The seventh argument is the last one the stub copies for this entry point.
        uint32_t returned = 77;
        ioControl(INVALID_HANDLE_VALUE, 1, nullptr, 0, nullptr, 0, &returned);
        ASSERT_EQ(returned, 0u) << "call " << i;
        // An unknown pipe name: a handle would leak otherwise.
        ASSERT_EQ(openBulk("PIPE99", 0), INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(accepted, kCalls);
    EXPECT_EQ(guard, 0xC0FFEEu);
}

TEST_P(StackSafeCallsTest, AFunctionKeepsItsEntryAcrossLookups) {
    EXPECT_EQ(Lookup<PFN_SetVenderID>("SetVenderID"), Lookup<PFN_SetVenderID>("SetVenderID"));
    EXPECT_NE(reinterpret_cast<void*>(Lookup<PFN_SetVenderID>("SetVenderID")),
              reinterpret_cast<void*>(Lookup<PFN_SetProductID>("SetProductID")));
}

INSTANTIATE_TEST_SUITE_P(Conventions, StackSafeCallsTest,
                         testing::Values(Library{"cdecl", "."},
                                         Library{"stdcall", "zelport-stdcall"}),
                         [](const testing::TestParamInfo<Library>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
