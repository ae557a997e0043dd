#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/qt/DialogUnits.h"

namespace {

struct Conversion {
    int baseX, baseY;
    int x, y, cx, cy;
    QRect pixels;
};

void PrintTo(const Conversion& c, std::ostream* out) {
    *out << "base " << c.baseX << 'x' << c.baseY << ", units " << c.x << ',' << c.y << ' ' << c.cx
         << 'x' << c.cy;
}

class DialogUnitsTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(DialogUnitsTest, RoundsLikeWindows) {
    const Conversion& c = GetParam();
    const win::DialogUnits units(c.baseX, c.baseY);
    EXPECT_EQ(units.ToPixels(c.x, c.y, c.cx, c.cy), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, DialogUnitsTest,
    ::testing::Values(
        // MS Sans Serif at 8 points on a 96 dpi screen: base units 6 and 13.
        Conversion{6, 13, 0, 0, 258, 276, QRect(0, 0, 387, 449)},
        Conversion{6, 13, 104, 250, 50, 14, QRect(156, 406, 75, 23)},
        Conversion{6, 13, 11, 42, 154, 10, QRect(17, 68, 231, 16)},
        // Halves round up: 7 * 7 / 4 = 12.25, 1 * 7 / 4 = 1.75, 2 * 7 / 4 = 3.5.
        Conversion{7, 16, 7, 1, 1, 2, QRect(12, 2, 2, 4)},
        Conversion{7, 15, 2, 4, 6, 3, QRect(4, 8, 11, 6)}));

struct FontCase {
    double dotsPerInch;
    int pixelSize;
};

void PrintTo(const FontCase& c, std::ostream* out) {
    *out << c.dotsPerInch << " dpi, " << c.pixelSize << " px";
}

class DialogFontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(DialogFontTest, PointsBecomePixelsOfTheScreen) {
    const QFont font = win::DialogUnits::DialogFont("MS Sans Serif", 8, GetParam().dotsPerInch);
    EXPECT_EQ(font.pixelSize(), GetParam().pixelSize);
    const QFontInfo resolved(font);
    EXPECT_FALSE(resolved.family().isEmpty());
    EXPECT_FALSE(resolved.fixedPitch()) << "a proportional face stands in for MS Sans Serif";
    const win::DialogUnits units = win::DialogUnits::FromFont(font);
    EXPECT_GT(units.BaseY(), units.BaseX()) << "letters are taller than they are wide";
    EXPECT_GE(units.BaseY(), GetParam().pixelSize);
}

INSTANTIATE_TEST_SUITE_P(Screens, DialogFontTest,
                         ::testing::Values(FontCase{96, 11}, FontCase{120, 13}, FontCase{144, 16},
                                           FontCase{192, 21}));

}  // namespace
