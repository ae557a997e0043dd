#include "platform/console/ConsoleBackend.h"

#include "platform/Kernel.h"
#include "platform/ui/User.h"

namespace console {

bool ConsoleBackend::IsDialogOf(win::HWND dialog, WORD templateId) {
    return dialog != nullptr && dialog->IsDialog() && dialog->DialogData()->id == templateId;
}

void ConsoleBackend::PressButton(UINT id) {
    ClickButton(win::GetTickCount(), id);
}

void ConsoleBackend::CloseWindow() {
    SystemCommand(win::GetTickCount(), win::SC_CLOSE);
}

}  // namespace console
