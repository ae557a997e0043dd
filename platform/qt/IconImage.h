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
    // The picture at another side: enlarged pixel by pixel, so that it stays sharp, and
    // shrunk by averaging the area each new pixel covers.
    static QImage AtSide(HICON icon, int side);
    static QIcon ToIcon(HICON icon);
};

}  // namespace win
