#include <gmock/gmock.h>
#include <unistd.h>

#include <string>

#include "app/MessageCatalogue.h"
#include "platform/ui/WinApp.h"
#include "printer/UsbLibrary.h"
#include "tests/harness/UpdateHarness.h"

namespace {

// The program's start as the framework runs it, with the library named by RXT9_ZELPORT.
class StartupTest : public UpdateHarness {
protected:
    void SetUp() override {
        UpdateHarness::SetUp();
        environment.Set("RXT9_LOCK_DIR", lockPlace.Path());
        g_usbLibrary.Unload();
    }
    void TearDown() override {
        g_usbLibrary.Unload();
        UpdateHarness::TearDown();
    }
    int Start() {
        char program[] = "rxt9-update";
        char* argv[] = {program};
        return win::AfxWinMain(1, argv, model);
    }
    static std::string Beside(const std::string& relative) {
        return win::GetModuleDirectory() + relative;
    }

    testing_support::TemporaryDirectory lockPlace;
};

TEST_F(StartupTest, ALibraryThatIsMissingIncompleteOrNoLibraryIsRefused) {
    workingDirectory.WriteFile("text.so", "not a shared object");
    const std::string libraries[] = {
        workingDirectory.File("missing.so"),
        Beside("zelport-incomplete/ZELPORT.so"),
        workingDirectory.File("text.so"),
    };
    for (const std::string& library : libraries) {
        SCOPED_TRACE(library);
        testing_support::TemporaryDirectory ownLockPlace;
        environment.Set("RXT9_LOCK_DIR", ownLockPlace.Path());
        environment.Set("RXT9_ZELPORT", library);
        ScriptedModel fresh(&clock);
        char program[] = "rxt9-update";
        char* argv[] = {program};
        win::AfxWinMain(1, argv, fresh);
        ASSERT_EQ(fresh.MessageBoxes().size(), 1u);
        const win::MessageBoxRecord& box = fresh.MessageBoxes()[0];
        EXPECT_EQ(box.text, "ZELPORT.dll Not Found");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.type, win::MB_OK | win::MB_ICONWARNING);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(fresh.DialogsCreated(), 0) << "the main window is never created";
    }
}

TEST_F(StartupTest, ALibraryWithoutPrintersEndsAfterTheStartupCheck) {
    environment.Set("RXT9_ZELPORT", Beside("zelport-none/ZELPORT.so"));
    Start();
    EXPECT_EQ(Boxes(), std::vector<Box>{ErrorBox(CMessageCatalogue::ComposeError(
                           IDS_NOT_CONNECTED, IDS_SUFFIX_RESTART))});
    EXPECT_EQ(model.DialogsCreated(), 1);
    EXPECT_NE(g_usbLibrary.UsbDeviceIoControl, nullptr) << "bound though never called";
}

TEST_F(StartupTest, ASecondCopyEndsSilently) {
    environment.Set("RXT9_ZELPORT", Beside("zelport-none/ZELPORT.so"));
    const HANDLE first = win::CreateMutexA(nullptr, TRUE, "KALDERON RXT9 Update Tool");
    ASSERT_EQ(win::GetLastError(), ERROR_SUCCESS);
    Start();
    EXPECT_TRUE(model.MessageBoxes().empty());
    EXPECT_EQ(model.DialogsCreated(), 0);
    EXPECT_EQ(g_usbLibrary.m_hModule, nullptr) << "the library is not even loaded";
    win::CloseHandle(first);
}

TEST_F(StartupTest, ALockThatCannotBeMadeEndsTheProgramSilently) {
    environment.Set("RXT9_ZELPORT", Beside("zelport-none/ZELPORT.so"));
    // A file where the private directory for the lock would go.
    lockPlace.WriteFile("rxt9-update-" + std::to_string(geteuid()), "");
    ::testing::internal::CaptureStderr();
    Start();
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                ::testing::HasSubstr("cannot take the single-instance lock"));
    EXPECT_TRUE(model.MessageBoxes().empty());
    EXPECT_EQ(model.DialogsCreated(), 0);
    EXPECT_EQ(g_usbLibrary.m_hModule, nullptr) << "the library is not even loaded";
}

}  // namespace
