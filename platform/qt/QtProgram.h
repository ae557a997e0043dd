// The update tool in Qt windows, from the start of the process to the end of its windows: the
// signal watch first, the display checked before Qt may abort on it, then the application,
// the Qt backend and the program's message loop. The command line reaches the program exactly
// as given; Qt reads its own options from a copy.
#pragma once

#include "platform/ui/ProgramEnd.h"
#include "platform/ui/UiBackend.h"

namespace win {

ProgramEnd RunQtProgram(int argc, char** argv);

}  // namespace win
