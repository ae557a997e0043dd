// Writes the program icon as a PNG file, for the desktop's menus and launchers.
#include <iostream>

#include "app/Resource.h"
#include "platform/qt/IconImage.h"
#include "platform/ui/User.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT.png\n";
        return 2;
    }
    const QImage icon = win::IconImage::FromResource(win::LoadIcon(IDR_MAINFRAME));
    if (icon.isNull() || !icon.save(argv[1], "PNG")) {
        std::cerr << argv[0] << ": cannot write the icon to " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
