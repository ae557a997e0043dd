#include "cli/MainWindowRows.h"

#include "app/Resource.h"
#include "platform/ui/User.h"

namespace cli {

namespace {

RowCell ReadCell(win::HWND mainWindow, int versionId, int checksumId) {
    return {win::GetWindowText(win::GetDlgItem(mainWindow, versionId)),
            win::GetWindowText(win::GetDlgItem(mainWindow, checksumId))};
}

}  // namespace

MainWindowRows MainWindowRows::Read(win::HWND mainWindow) {
    MainWindowRows rows;
    for (size_t slot = 0; slot < kItemNames.size(); ++slot) {
        rows.package[slot] =
            ReadCell(mainWindow, IDC_PACKAGE_VERSION[slot], IDC_PACKAGE_CHECKSUM[slot]);
        rows.before[slot] =
            ReadCell(mainWindow, IDC_BEFORE_VERSION[slot], IDC_BEFORE_CHECKSUM[slot]);
        rows.after[slot] = ReadCell(mainWindow, IDC_AFTER_VERSION[slot], IDC_AFTER_CHECKSUM[slot]);
    }
    return rows;
}

}  // namespace cli
