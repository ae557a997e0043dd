// The three rows of the main window as the user sees them: the package, and the printer's
// data before and after the download, a version and a checksum per item.
#pragma once

#include <array>
#include <string>

#include "platform/ui/Window.h"

namespace cli {

struct RowCell {
    std::string version;
    std::string checksum;

    bool operator==(const RowCell&) const = default;
};

using Row = std::array<RowCell, 4>;

struct MainWindowRows {
    Row package;
    Row before;
    Row after;

    bool operator==(const MainWindowRows&) const = default;

    // The texts of the main window's value fields.
    static MainWindowRows Read(win::HWND mainWindow);
};

}  // namespace cli
