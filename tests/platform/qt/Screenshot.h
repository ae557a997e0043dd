// Pictures of windows for the documentation. The offscreen platform has no window manager,
// so the picture gets a plain caption bar with the window's icon and title drawn above the
// window's own contents.
#pragma once

#include <QImage>
#include <string>

class QWidget;

class Screenshot {
public:
    static QImage Framed(QWidget* window);
    // Writes the picture as NAME.png into the build tree's screenshot directory.
    static bool Save(QWidget* window, const std::string& name);
};
