// What the program settles before and while Qt opens the display: Qt aborts the process when
// it finds no display or cannot reach it, which would look like a crash to the user. The
// program refuses to start without a display, and turns Qt's fatal errors while opening it
// into a message and an orderly exit; the printer has not been contacted at that point.
#pragma once

#include <string>

namespace win {

class DisplayCheck {
public:
    // Why no window can be shown, or empty when a display or a Qt platform is configured.
    static std::string MissingDisplay(int argc, char** argv);
    // Until Opened, a fatal Qt error ends the program with a message on stderr and exit code 1.
    // Later, Qt's end of the process on a broken display connection is explained on stderr.
    static void GuardOpening();
    static void Opened();
};

}  // namespace win
