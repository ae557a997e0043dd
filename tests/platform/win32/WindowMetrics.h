// What a real window measures on the screen, for the tests of DPI scaling: its client size,
// the texts of its controls that their rectangles cut off, the dpi of the process, and Wine's
// setting of the dpi, which each process reads as it starts.
#pragma once

#include <string>
#include <vector>

namespace win32 {

class WindowMetrics {
public:
    struct Size {
        long width;
        long height;
    };
    static Size ClientSize(void* window);
    // "id: text" of each static or button control of the dialog whose text, in the control's
    // own font, is wider or taller than the control's client rectangle.
    static std::vector<std::string> ClippedTexts(void* dialog);
    static unsigned SystemDpi();
    // Sets LogPixels for the processes started after it (HKCU\Control Panel\Desktop); 0
    // removes the value, which is the default of 96 dpi.
    static bool SetLogPixels(unsigned dpi);
};

}  // namespace win32
