#include "tests/harness/UpdateHarness.h"

#include "app/MessageCatalogue.h"

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "{\"" << box.text << "\", \"" << box.caption << "\", icon " << box.icon
               << ", owner " << box.owner << "}";
}

namespace win {

void PrintTo(const RunEnd& end, std::ostream* out) {
    *out << "{result " << static_cast<int>(end.result) << (end.successEnd ? ", success end" : "")
         << (end.restarted ? ", restarted" : "") << (end.versionsNotText ? ", no text" : "") << "}";
}

}  // namespace win

Box ErrorBox(const std::string& text) {
    return {text, kCaptionError, win::MB_ICONWARNING, IDD_UPDATE_DIALOG};
}

Box NoOwnerErrorBox(const std::string& text) {
    return {text, kCaptionError, win::MB_ICONWARNING, 0};
}

Box VersionCheckBox(const std::string& text) {
    return {text, kCaptionVersionCheck, win::MB_ICONINFORMATION, IDD_UPDATE_DIALOG};
}

void UpdateHarness::SetUp() {
    win::SetClock(&clock);
    win::SetUiBackend(&model);
    workingDirectory.Enter();
    environment.Unset("LC_ALL");
    environment.Unset("LC_MESSAGES");
    environment.Set("LANG", "C.UTF-8");
    SetArguments({});
}

void UpdateHarness::TearDown() {
    theApp.m_pMainWnd = nullptr;
    win::SetUiBackend(nullptr);
    win::SetClock(nullptr);
}

void UpdateHarness::SetArguments(const std::vector<std::string>& arguments) {
    m_arguments = {"rxt9-update"};
    m_arguments.insert(m_arguments.end(), arguments.begin(), arguments.end());
    m_argv.clear();
    for (std::string& argument : m_arguments) {
        m_argv.push_back(argument.data());
    }
    win::SetCommandLine(static_cast<int>(m_argv.size()), m_argv.data());
}

void UpdateHarness::RunMainWindow() {
    theApp.m_pMainWnd = &dialog;
    dialog.DoModal();
    theApp.m_pMainWnd = nullptr;
    EXPECT_FALSE(model.ForcedQuit()) << "a modal loop did not close";
}

std::vector<Box> UpdateHarness::Boxes() const {
    return BoxesOf(model);
}

std::vector<Box> BoxesOf(const win::ModelBackend& backend) {
    std::vector<Box> boxes;
    for (const win::MessageBoxRecord& record : backend.MessageBoxes()) {
        boxes.push_back(
            {record.text, record.caption, record.type & win::MB_ICONMASK, record.ownerTemplate});
    }
    return boxes;
}
