// Whether the connection to the display has broken. Qt ends the process at once when it
// processes events on a broken X11 connection, which would leave a printer in download mode
// in the middle of a run; the backend asks here first and carries on without windows.
#pragma once

namespace win {

class DisplayConnection {
public:
    static bool Broken();
};

}  // namespace win
