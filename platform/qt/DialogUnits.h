// Dialog units to pixels, as Windows converts them: the horizontal base unit is the average
// width of the Latin letters in the dialog's font, the vertical one the font's height; a
// dialog unit is a quarter of the first and an eighth of the second.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <string>

namespace win {

class DialogUnits {
public:
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}
    static DialogUnits FromFont(const QFont& font);

    // The font a template names at its point size on a screen of the given resolution, or the
    // closest sans-serif face the machine has when that one is missing.
    static QFont DialogFont(const std::string& faceName, int pointSize, double dotsPerInch);

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int cx, int cy) const;
    QSize ToPixels(int cx, int cy) const;

private:
    int m_baseX;
    int m_baseY;
};

}  // namespace win
