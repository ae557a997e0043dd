// The numbered message texts of the program, in the two language tables of its resources, and
// the message boxes that show them.
#pragma once

#include <string>

#include "platform/ui/User.h"

// Message ids.
constexpr unsigned IDS_UPGRADE = 1000;
constexpr unsigned IDS_INITIALIZING = 1001;
constexpr unsigned IDS_VERSION_CHECK = 1003;
constexpr unsigned IDS_NOT_CONNECTED = 2000;
constexpr unsigned IDS_TWO_OR_MORE = 2001;
constexpr unsigned IDS_PRINTING = 2002;
constexpr unsigned IDS_PRINTER_ERROR = 2003;
constexpr unsigned IDS_VERSION_FAILED = 2004;
constexpr unsigned IDS_NEWEST = 2005;
constexpr unsigned IDS_NOT_APPLICABLE = 2006;
constexpr unsigned IDS_TIME_OUT = 2007;
constexpr unsigned IDS_FAILED = 2008;
constexpr unsigned IDS_SETTING_ERROR = 2009;
constexpr unsigned IDS_FILE_MISSING = 2010;
constexpr unsigned IDS_MENU_DISPLAYED = 2011;
constexpr unsigned IDS_PLEASE_WAIT = 2020;
constexpr unsigned IDS_LOADING_DATA1 = 2021;
constexpr unsigned IDS_LOADING_DATA2 = 2022;
constexpr unsigned IDS_LOADING_DATA3 = 2023;
constexpr unsigned IDS_LOADING_DATA4 = 2024;
constexpr unsigned IDS_SUCCESS = 2025;
constexpr unsigned IDS_SUFFIX_RESTART = 2026;
constexpr unsigned IDS_SUFFIX_DOWNLOAD = 2027;
constexpr unsigned IDS_SUFFIX_DOWNLOAD_SPARE = 2028;
constexpr unsigned IDS_VERSION_CHANGED = 2029;
constexpr unsigned IDS_STATE_FAILED = 2030;

// Captions and the start-up text, which the program holds as literals.
constexpr const char* kCaptionError = "Error";
constexpr const char* kCaptionSuccess = "Success!";
constexpr const char* kCaptionVersionChanged = "FW Version Changed.";
constexpr const char* kCaptionVersionCheck = "Version Check";
constexpr const char* kLibraryNotFound = "ZELPORT.dll Not Found";

class CMessageCatalogue {
public:
    // What follows the text of an error: nothing, message 2026 ("restart this application") or
    // message 2027 ("download again").
    enum class Suffix { None, Restart, DownloadAgain };

    // The text of a message in the table of the user's language; empty for an unknown id.
    static std::string Load(unsigned id);
    static std::string LoadForLanguage(WORD language, unsigned id);
    // The text of a message followed directly by that of a suffix message.
    static std::string ComposeError(unsigned id, unsigned suffixId);

    // The program's boxes, each with an OK button, its caption and its icon; a null owner
    // shows a box of its own.
    // A failure: the message and its suffix, captioned "Error", warning icon.
    static int ShowError(win::HWND owner, unsigned id, Suffix suffix = Suffix::None);
    // A finding of the version check, captioned "Version Check", information icon.
    static int ShowVersionCheck(win::HWND owner, const std::string& text);
    // Message 2025, captioned "Success!", warning icon.
    static int ShowSuccess(win::HWND owner);
    // Message 2029, captioned "FW Version Changed.", warning icon.
    static int ShowVersionChanged(win::HWND owner);
    // The vendor library could not be bound: "ZELPORT.dll Not Found", captioned "Error",
    // warning icon, no owner.
    static int ShowLibraryNotFound();
};
