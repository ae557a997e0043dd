// The update tool in Qt windows, from the start of the process to the end of its windows: the
// signal watch first, the display checked before Qt may abort on it, then the application,
// the Qt backend and the program's message loop. The command line reaches the program exactly
// as given; Qt reads its own options from a copy.
#pragma once

#include "platform/ui/UiBackend.h"

namespace win {

struct QtProgramEnd {
    bool windowsOpened = false;  // false: there was no display to open them on
    int result = 1;              // what the program's message loop ended with
    bool displayLost = false;    // the display went away and the program went on without it
    bool endRequested = false;   // a signal or the session asked the program to end
};

QtProgramEnd RunQtProgram(int argc, char** argv);

}  // namespace win
