#include "app/MessageCatalogue.h"

#include <array>
#include <cstring>
#include <iterator>

#include "app/Resource.h"
#include "platform/Kernel.h"
#include "platform/Resources.h"

namespace {

struct MessageEntry {
    unsigned id;
    const char* text;
};

constexpr const char* kAbout = "&About...";
constexpr const char* kUpgrade = "Upgrade";
constexpr const char* kInitializing = "Initializing...";
constexpr const char* kVersionCheck = "Version Check...";
constexpr const char* kNotConnected =
    "Printer is not connected.\nPlease check a cable connection, and turn the printer OFF and "
    "then ON.";
constexpr const char* kTwoOrMore =
    "Two or more printers are connected.\nPlease connect only one printer.";
constexpr const char* kPrinting = "It is under printing.\nPlease end printing.";
constexpr const char* kPrinterError = "Printer Error.\nPlease remove an error.";
constexpr const char* kVersionFailed =
    "Failed Version Information!\nPlease turn the printer OFF and then ON.";
constexpr const char* kNewest = "DATA in the printer is the newest version.";
constexpr const char* kNotApplicable =
    "This program is not applicable on this printer.\nDATA1(M) : %s / %04X\nDATA2(T) : %s / "
    "%04X";
constexpr const char* kTimeOut =
    "Failed! Time out Error!\nPlease turn the printer OFF and then ON, and download again.";
constexpr const char* kFailed =
    "Failed!\nPlease turn the printer OFF and then ON, and download again.";
constexpr const char* kSettingError = "Failed!\nThere is some error in the setting file.";
constexpr const char* kFileMissing =
    "Failed to read the F/W file. \nFiles in the package might be missing.";
constexpr const char* kMenuDisplayed =
    "Menu is displayed.\nPlease release the menu mode, and download again.";
constexpr const char* kPleaseWait = "Please wait.";
constexpr const char* kLoading1 = "Loading DATA1(M)...\nDo not power off the printer.";
constexpr const char* kLoading2 = "Loading DATA2(T)...\nDo not power off the printer.";
constexpr const char* kLoading3 = "Loading DATA3(F)...\nDo not power off the printer.";
constexpr const char* kLoading4 = "Loading DATA4(M)...\nDo not power off the printer.";
constexpr const char* kSuccess = "Success!\nThis DATA was downloaded properly on printer.";
constexpr const char* kSuffixRestart = "\nAnd please restart this application.";
constexpr const char* kSuffixDownload = "\nAnd please download again.";
constexpr const char* kVersionChanged =
    "Download F/W version is changed. Please confirm.\nDownload is started after press the "
    "Download button.";
constexpr const char* kStateFailed = "Failed!\nPlease turn the printer OFF and then ON,";

// The string tables of the program's resources: one per language, of the resource type
// "STRING" followed by the language id. The Japanese table carries the English texts too.
constexpr const char* kTableTypes[] = {"STRING1033", "STRING1041"};

struct MessageText {
    WORD id;
    const char* text;
};

constexpr MessageText kTexts[] = {
    {IDS_ABOUTBOX, kAbout},
    {IDS_UPGRADE, kUpgrade},
    {IDS_INITIALIZING, kInitializing},
    {IDS_VERSION_CHECK, kVersionCheck},
    {IDS_NOT_CONNECTED, kNotConnected},
    {IDS_TWO_OR_MORE, kTwoOrMore},
    {IDS_PRINTING, kPrinting},
    {IDS_PRINTER_ERROR, kPrinterError},
    {IDS_VERSION_FAILED, kVersionFailed},
    {IDS_NEWEST, kNewest},
    {IDS_NOT_APPLICABLE, kNotApplicable},
    {IDS_TIME_OUT, kTimeOut},
    {IDS_FAILED, kFailed},
    {IDS_SETTING_ERROR, kSettingError},
    {IDS_FILE_MISSING, kFileMissing},
    {IDS_MENU_DISPLAYED, kMenuDisplayed},
    {IDS_PLEASE_WAIT, kPleaseWait},
    {IDS_LOADING_DATA1, kLoading1},
    {IDS_LOADING_DATA2, kLoading2},
    {IDS_LOADING_DATA3, kLoading3},
    {IDS_LOADING_DATA4, kLoading4},
    {IDS_SUCCESS, kSuccess},
    {IDS_SUFFIX_RESTART, kSuffixRestart},
    {IDS_SUFFIX_DOWNLOAD, kSuffixDownload},
    {IDS_SUFFIX_DOWNLOAD_SPARE, kSuffixDownload},
    {IDS_VERSION_CHANGED, kVersionChanged},
    {IDS_STATE_FAILED, kStateFailed},
};
constexpr size_t kTextCount = std::size(kTexts);

// Both tables hold every text, each under its language's resource type.
std::array<win::ResourceEntry, 2 * kTextCount> BuildTables() {
    std::array<win::ResourceEntry, 2 * kTextCount> entries{};
    for (size_t table = 0; table < 2; ++table) {
        for (size_t i = 0; i < kTextCount; ++i) {
            entries[table * kTextCount + i] = {kTableTypes[table], kTexts[i].id, kTexts[i].text,
                                               static_cast<DWORD>(std::strlen(kTexts[i].text))};
        }
    }
    return entries;
}

const std::array<win::ResourceEntry, 2 * kTextCount> kStringTables = BuildTables();
const win::ResourceTable kStringTableResources(kStringTables.data(), kStringTables.size());

int ShowWarning(win::HWND owner, const std::string& text, const char* caption) {
    return win::MessageBox(owner, text.c_str(), caption, win::MB_OK | win::MB_ICONWARNING);
}

}  // namespace

std::string CMessageCatalogue::Load(unsigned id) {
    return LoadForLanguage(win::GetUserDefaultLangID(), id);
}

std::string CMessageCatalogue::LoadForLanguage(WORD language, unsigned id) {
    // A language without a table of its own reads the US English one, as Windows falls back.
    const char* type = language == LANG_JAPANESE ? kTableTypes[1] : kTableTypes[0];
    win::HRSRC resource = win::FindResourceA(nullptr, static_cast<WORD>(id), type);
    const auto* text =
        static_cast<const char*>(win::LockResource(win::LoadResource(nullptr, resource)));
    if (text == nullptr || id > 0xFFFF) {
        return {};
    }
    return std::string(text, win::SizeofResource(nullptr, resource));
}

std::string CMessageCatalogue::ComposeError(unsigned id, unsigned suffixId) {
    return Load(id) + Load(suffixId);
}

int CMessageCatalogue::ShowError(win::HWND owner, unsigned id, Suffix suffix) {
    std::string text;
    switch (suffix) {
        case Suffix::None:
            text = Load(id);
            break;
        case Suffix::Restart:
            text = ComposeError(id, IDS_SUFFIX_RESTART);
            break;
        case Suffix::DownloadAgain:
            text = ComposeError(id, IDS_SUFFIX_DOWNLOAD);
            break;
    }
    return ShowWarning(owner, text, kCaptionError);
}

int CMessageCatalogue::ShowVersionCheck(win::HWND owner, const std::string& text) {
    return win::MessageBox(owner, text.c_str(), kCaptionVersionCheck,
                           win::MB_OK | win::MB_ICONINFORMATION);
}

int CMessageCatalogue::ShowSuccess(win::HWND owner) {
    return ShowWarning(owner, Load(IDS_SUCCESS), kCaptionSuccess);
}

int CMessageCatalogue::ShowVersionChanged(win::HWND owner) {
    return ShowWarning(owner, Load(IDS_VERSION_CHANGED), kCaptionVersionChanged);
}

int CMessageCatalogue::ShowLibraryNotFound() {
    return ShowWarning(nullptr, kLibraryNotFound, kCaptionError);
}
