// The dialog templates of the program, in dialog units, and its icon.
#include "app/DataSlotFacts.h"
#include "app/Resource.h"
#include "platform/Resources.h"
#include "platform/ui/DialogTemplate.h"

namespace {

using win::ControlKind;
using win::ControlTemplate;
using win::DialogTemplate;

constexpr DWORD kVisible = win::WS_CHILD | win::WS_VISIBLE;
constexpr DWORD kLabel = kVisible | win::SS_LEFT;
constexpr DWORD kValueField = kVisible | win::SS_LEFT | win::SS_SUNKEN;

// The lines of a row: per item its label, the colon and its two value fields.
void AddItemLines(std::vector<ControlTemplate>& controls, short top, RowFields DataSlotFacts::*row,
                  const char* const placeholders[4][2]) {
    for (size_t slot = 0; slot < kDataSlotFacts.size(); ++slot) {
        const DataSlotFacts& item = kDataSlotFacts[slot];
        const auto y = static_cast<short>(top + 14 * slot);
        controls.push_back({win::IDC_STATIC, ControlKind::Static, item.label, kLabel, 20,
                            static_cast<short>(y + 2), 40, 8});
        controls.push_back({win::IDC_STATIC, ControlKind::Static, ":", kLabel, 62,
                            static_cast<short>(y + 2), 6, 8});
        controls.push_back({(item.*row).version, ControlKind::Static,
                            placeholders != nullptr ? placeholders[slot][0] : "", kValueField, 72,
                            y, 80, 12});
        controls.push_back({(item.*row).checksum, ControlKind::Static,
                            placeholders != nullptr ? placeholders[slot][1] : "", kValueField, 162,
                            y, 80, 12});
    }
}

DialogTemplate MainWindowTemplate() {
    // The placeholders of the package fields are blanked before the window is first shown.
    static const char* const kPlaceholders[4][2] = {
        {"12345", "$1234"}, {"67890", "$1234"}, {"ABCDEF", "$1234"}, {"ABCDEF", "$1234"}};
    DialogTemplate dialog{
        IDD_UPDATE_DIALOG,
        "KALDERON RX-T9 Update Tool",
        win::DS_MODALFRAME | win::DS_SETFONT | win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU,
        win::WS_EX_APPWINDOW,
        "MS Sans Serif",
        8,
        0,
        0,
        258,
        276,
        {}};
    auto& controls = dialog.controls;
    controls.push_back(
        {win::IDC_STATIC, ControlKind::Static, "Download Ver.1.20", kLabel, 7, 7, 120, 8});
    controls.push_back({win::IDC_STATIC, ControlKind::Static, "Version", kLabel, 72, 20, 80, 8});
    controls.push_back({win::IDC_STATIC, ControlKind::Static, "Check sum", kLabel, 162, 20, 80, 8});
    AddItemLines(controls, 31, &DataSlotFacts::package, kPlaceholders);
    controls.push_back(
        {win::IDC_STATIC, ControlKind::Static, "Data in Printer", kLabel, 7, 92, 120, 8});
    controls.push_back({win::IDC_STATIC, ControlKind::Static, "Before", kLabel, 14, 104, 60, 8});
    AddItemLines(controls, 115, &DataSlotFacts::before, nullptr);
    controls.push_back({win::IDC_STATIC, ControlKind::Static, "After", kLabel, 14, 174, 60, 8});
    AddItemLines(controls, 185, &DataSlotFacts::after, nullptr);
    controls.push_back({IDC_DOWNLOAD, ControlKind::Button, "Download",
                        kVisible | win::WS_TABSTOP | win::BS_DEFPUSHBUTTON, 104, 250, 50, 14});
    return dialog;
}

DialogTemplate AboutBoxTemplate() {
    return {
        IDD_ABOUTBOX,
        "About",
        win::DS_MODALFRAME | win::DS_SETFONT | win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU,
        0,
        "MS Sans Serif",
        8,
        0,
        0,
        251,
        71,
        {{win::IDC_STATIC, ControlKind::Icon, "", kVisible | win::SS_ICON, 11, 17, 20, 20},
         {win::IDC_STATIC, ControlKind::Static, "KALDERON RX-T9 Update Tool\nVersion 1.20",
          kVisible | win::SS_CENTER, 40, 8, 148, 18},
         {win::IDC_STATIC, ControlKind::Static,
          "Installs the firmware this program carries\ninto one KALDERON RX-T9 printer. Keep it "
          "on\n"
          "and connected until the printer restarts.",
          kVisible | win::SS_CENTER, 40, 32, 148, 32},
         {win::IDOK, ControlKind::Button, "OK", kVisible | win::WS_TABSTOP | win::BS_DEFPUSHBUTTON,
          194, 7, 50, 14}}};
}

DialogTemplate ProgressWindowTemplate() {
    return {
        IDD_PROGRESS_DIALOG,
        "",
        win::DS_MODALFRAME | win::DS_SETFONT | win::WS_POPUP | win::WS_VISIBLE | win::WS_CAPTION |
            win::WS_SYSMENU,
        0,
        "MS Sans Serif",
        8,
        0,
        0,
        176,
        80,
        {{IDC_PROGRESS_MESSAGE, ControlKind::Static, "", kVisible | win::SS_CENTER, 6, 7, 164, 16},
         {IDC_PROGRESS_PERCENT, ControlKind::Static, " 0 %", kVisible | win::SS_CENTER, 79, 31, 18,
          8},
         {IDC_PROGRESS_BAR, ControlKind::ProgressBar, "", kVisible | win::WS_BORDER, 11, 42, 154,
          10},
         {win::IDCANCEL, ControlKind::Button, "Cancel",
          win::WS_CHILD | win::WS_TABSTOP | win::BS_DEFPUSHBUTTON, 63, 59, 50, 14}}};
}

const DialogTemplate kTemplates[] = {AboutBoxTemplate(), MainWindowTemplate(),
                                     ProgressWindowTemplate()};
const win::DialogTable kDialogTable(kTemplates, sizeof(kTemplates) / sizeof(kTemplates[0]));

// The program icon: 32 rows of 32 pixels, one character a pixel: '.' transparent, 'k' black,
// 'g' grey, 'w' white, 'b' blue, 'r' red. A printer that takes a download.
constexpr char kProgramIcon[] =
    "................................"
    "................................"
    ".........kkkkkkkkkkkkkk........."
    ".........kwwwwwwwwwwwwk........."
    ".........kwwwwbbbbwwwwk........."
    ".........kwwwwbbbbwwwwk........."
    ".........kwwwwbbbbwwwwk........."
    ".........kwwwwbbbbwwwwk........."
    ".........kwwbbbbbbbbwwk........."
    ".........kwwwbbbbbbwwwk........."
    ".........kwwwwbbbbwwwwk........."
    ".........kwwwwwbbwwwwwk........."
    "...kkkkkkkkkkkkkkkkkkkkkkkkkk..."
    "...kggggggggggggggggggggggggk..."
    "...kggggggggggggggggggggggggk..."
    "...kgggkkkkkkkkkkkkkkkkkkgggk..."
    "...kgggkkkkkkkkkkkkkkkkkkgggk..."
    "...kggggggggggggggggggggggggk..."
    "...kggggggggggggggggggggggggk..."
    "...kggggggggggggggggggggggggk..."
    "...kggggggggggggggggggggrrggk..."
    "...kggggggggggggggggggggrrggk..."
    "...kggggggggggggggggggggggggk..."
    "...kggggggggggggggggggggggggk..."
    "...kkkkkkwwwwwwwwwwwwwwkkkkkk..."
    "........kwbbbbbbbbbbbbwk........"
    "........kwbbbbbbbbbbbbwk........"
    "........kwbbbbbbbbbbbbwk........"
    "........kwbbbbbbbbbbbbwk........"
    "........kkkkkkkkkkkkkkkk........"
    "................................"
    "................................";

const win::ResourceEntry kIcons[] = {{"ICON", IDR_MAINFRAME, kProgramIcon, sizeof(kProgramIcon)}};
const win::ResourceTable kIconTable(kIcons, 1);

}  // namespace
