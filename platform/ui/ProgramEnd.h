// How a program of real windows ended, as its backend saw it: what the exit status is made of,
// beside how the last download ended.
#pragma once

namespace win {

struct ProgramEnd {
    bool windowsOpened = false;  // false: there was no display to open them on
    int result = 1;              // what the program's message loop ended with
    bool displayLost = false;    // the display went away and the program went on without it
    bool endRequested = false;   // a signal or the session asked the program to end
};

}  // namespace win
