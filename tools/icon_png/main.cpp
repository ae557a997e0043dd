// Writes the program icon as a PNG file of the given side, for the desktop's menus and
// launchers.
#include <cstdlib>
#include <iostream>

#include "app/Resource.h"
#include "platform/qt/IconImage.h"
#include "platform/ui/User.h"

int main(int argc, char** argv) {
    const int side = argc == 3 ? std::atoi(argv[1]) : 0;
    if (side < 1 || side > 1024) {
        std::cerr << "usage: " << argv[0] << " SIDE OUTPUT.png\n";
        return 2;
    }
    const QImage icon = win::IconImage::AtSide(win::LoadIcon(IDR_MAINFRAME), side);
    if (icon.isNull() || !icon.save(argv[2], "PNG")) {
        std::cerr << argv[0] << ": cannot write the icon to " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
