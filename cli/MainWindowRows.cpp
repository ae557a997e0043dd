#include "cli/MainWindowRows.h"

#include "app/DataSlotFacts.h"
#include "platform/ui/User.h"

namespace cli {

namespace {

RowCell ReadCell(win::HWND mainWindow, const RowFields& fields) {
    return {win::GetWindowText(win::GetDlgItem(mainWindow, fields.version)),
            win::GetWindowText(win::GetDlgItem(mainWindow, fields.checksum))};
}

}  // namespace

MainWindowRows MainWindowRows::Read(win::HWND mainWindow) {
    MainWindowRows rows;
    for (size_t slot = 0; slot < kDataSlotFacts.size(); ++slot) {
        const DataSlotFacts& item = kDataSlotFacts[slot];
        rows.package[slot] = ReadCell(mainWindow, item.package);
        rows.before[slot] = ReadCell(mainWindow, item.before);
        rows.after[slot] = ReadCell(mainWindow, item.after);
    }
    return rows;
}

}  // namespace cli
