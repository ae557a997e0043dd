// The main window on the model backend and the virtual clock, for tests of its windows and
// sequences.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/UpdateApp.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"
#include "platform/model/ModelBackend.h"
#include "tests/harness/ScriptedModel.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryDirectory.h"

// The main window with a package of the test's choice.
class TestUpdateDlg : public CUpdateDlg {
public:
    std::optional<PackageValues> package;

protected:
    BOOL LoadPackageTable() override {
        return package ? m_package.LoadFrom(*package) : CUpdateDlg::LoadPackageTable();
    }
};

// A message box as the user saw it.
struct Box {
    std::string text;
    std::string caption;
    UINT icon;
    WORD owner;  // dialog template of the owner, 0 for none

    bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& box);
namespace win {
void PrintTo(const RunEnd& end, std::ostream* out);
}  // namespace win

Box ErrorBox(const std::string& text);
Box NoOwnerErrorBox(const std::string& text);
Box VersionCheckBox(const std::string& text);
// The boxes a backend showed, in order.
std::vector<Box> BoxesOf(const win::ModelBackend& backend);

class UpdateHarness : public ::testing::Test {
public:
    // The texts and boxes that the tests expect, as the catalogue gives them.
    static std::string Error(unsigned id, unsigned suffix) {
        return CMessageCatalogue::ComposeError(id, suffix);
    }
    static std::string Text(unsigned id) { return CMessageCatalogue::Load(id); }
    static Box SuccessBox() {
        return {CMessageCatalogue::Load(IDS_SUCCESS), kCaptionSuccess, win::MB_ICONWARNING,
                IDD_UPDATE_DIALOG};
    }

protected:
    static constexpr DWORD kStart = 10000;

    void SetUp() override;
    void TearDown() override;

    void SetArguments(const std::vector<std::string>& arguments);
    // Runs the main window modally until the script is played and the window closed.
    void RunMainWindow();
    std::vector<Box> Boxes() const;

    win::VirtualClock clock{kStart};
    ScriptedModel model{&clock};
    testing_support::ScopedEnvironment environment;
    testing_support::TemporaryDirectory workingDirectory;
    TestUpdateDlg dialog;

private:
    std::vector<std::string> m_arguments{"rxt9-update"};
    std::vector<char*> m_argv;
};
