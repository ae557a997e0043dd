// The program's icons: a resource of type "ICON" holds a square picture, one character a pixel,
// row by row: '.' transparent, 'k' black, 'g' grey, 'w' white, 'b' blue, 'r' red.
#pragma once

#include <QIcon>
#include <QImage>

#include "platform/ui/Window.h"

namespace win {

class IconImage {
public:
    static constexpr int kSide = 32;

    // A null image when the resource is missing or is not such a picture.
    static QImage FromResource(HICON icon);
    static QIcon ToIcon(HICON icon);
};

}  // namespace win
