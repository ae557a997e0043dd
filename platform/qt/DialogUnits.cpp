#include "platform/qt/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace win {

namespace {

// Windows' MulDiv: the product divided with rounding to the nearest, halves away from zero.
int MulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogUnits DialogUnits::FromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Windows' vertical base unit is the font's tmHeight, the height in which it draws one line
    // of text. Qt lays a line out in the font's ascent, descent and leading, each unrounded,
    // which can be a pixel more than the rounded height(): take the taller of the two, so that a
    // control eight units high holds a line of its font whatever the face and the size.
    constexpr int kRoom = 1 << 16;
    const int lineHeight = metrics
                               .boundingRect(QRect(0, 0, kRoom, kRoom),
                                             Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Xg"))
                               .height();
    return DialogUnits((alphabetWidth / 26 + 1) / 2, std::max(metrics.height(), lineHeight));
}

QFont DialogUnits::DialogFont(const std::string& faceName, int pointSize, double dotsPerInch) {
    QFont font;
    // Metric-compatible and look-alike faces first; fontconfig picks the machine's sans-serif
    // face after them.
    font.setFamilies({QString::fromStdString(faceName), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")});
    font.setStyleHint(QFont::SansSerif);
    // A Windows font of n points is n/72 inch high without its internal leading, which is what
    // a Qt pixel size gives.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * dotsPerInch / 72.0))));
    return font;
}

int DialogUnits::ToPixelsX(int units) const {
    return MulDiv(units, m_baseX, 4);
}
int DialogUnits::ToPixelsY(int units) const {
    return MulDiv(units, m_baseY, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    return {ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy)};
}

QSize DialogUnits::ToPixels(int cx, int cy) const {
    return {ToPixelsX(cx), ToPixelsY(cy)};
}

}  // namespace win
