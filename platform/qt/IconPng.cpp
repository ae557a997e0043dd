// Writes the program icon as a PNG file, for the desktop's menus and launchers.
#include <cstdio>

#include "app/Resource.h"
#include "platform/qt/IconImage.h"
#include "platform/ui/User.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const QImage icon = win::IconImage::FromResource(win::LoadIcon(IDR_MAINFRAME));
    if (icon.isNull() || !icon.save(argv[1], "PNG")) {
        std::fprintf(stderr, "%s: cannot write the icon to %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
