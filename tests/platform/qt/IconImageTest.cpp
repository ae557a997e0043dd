#include <gtest/gtest.h>

#include <string>

#include "app/Resource.h"
#include "platform/qt/IconImage.h"
#include "platform/ui/User.h"

namespace {

struct Pixel {
    int x, y;
    QRgb colour;
};

TEST(IconImageTest, TheProgramIconIsDrawnFromItsResource) {
    const QImage icon = win::IconImage::FromResource(win::LoadIcon(IDR_MAINFRAME));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
    const Pixel pixels[] = {{0, 0, qRgba(0, 0, 0, 0)},    {9, 2, qRgb(0, 0, 0)},
                            {10, 3, qRgb(255, 255, 255)}, {14, 4, qRgb(0, 0, 255)},
                            {4, 13, qRgb(192, 192, 192)}, {24, 20, qRgb(255, 0, 0)},
                            {31, 31, qRgba(0, 0, 0, 0)}};
    for (const Pixel& pixel : pixels) {
        EXPECT_EQ(icon.pixel(pixel.x, pixel.y), pixel.colour) << pixel.x << "," << pixel.y;
    }
}

TEST(IconImageTest, EveryThemeSizeIsDrawnSharpWhenEnlargedAndAveragedWhenShrunk) {
    const win::HICON resource = win::LoadIcon(IDR_MAINFRAME);
    const QImage drawn = win::IconImage::FromResource(resource);
    for (const int side : {16, 22, 24, 48, 64, 128, 256}) {
        const QImage icon =
            win::IconImage::AtSide(resource, side).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(side, side)) << side;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << side << ": the corner stays transparent";
        if (side % 32 == 0) {
            const int factor = side / 32;
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    ASSERT_EQ(icon.pixel(x, y), drawn.pixel(x / factor, y / factor))
                        << side << ": " << x << "," << y;
                }
            }
        }
    }
    // Shrunk to half, a pixel is the mean of the four it covers: the blue and white edge.
    const QImage half = win::IconImage::AtSide(resource, 16).convertToFormat(QImage::Format_ARGB32);
    const int x = 7, y = 2;
    int blue = 0;
    for (const QPoint source : {QPoint(2 * x, 2 * y), QPoint(2 * x + 1, 2 * y),
                                QPoint(2 * x, 2 * y + 1), QPoint(2 * x + 1, 2 * y + 1)}) {
        blue += qBlue(drawn.pixel(source));
    }
    EXPECT_NEAR(qBlue(half.pixel(x, y)), blue / 4.0, 2.0);
}

TEST(IconImageTest, APictureThatIsNoIconGivesNone) {
    const std::string unknownColour = std::string(1023, 'k') + "z";
    const std::string tooShort(1000, 'k');
    const win::ResourceEntry unknown{"ICON", 1, unknownColour.data(),
                                     static_cast<DWORD>(unknownColour.size())};
    const win::ResourceEntry shortOne{"ICON", 2, tooShort.data(),
                                      static_cast<DWORD>(tooShort.size())};
    EXPECT_TRUE(win::IconImage::FromResource(&unknown).isNull());
    EXPECT_TRUE(win::IconImage::FromResource(&shortOne).isNull());
    EXPECT_TRUE(win::IconImage::FromResource(nullptr).isNull());
    EXPECT_TRUE(win::IconImage::ToIcon(&unknown).isNull());
}

}  // namespace
