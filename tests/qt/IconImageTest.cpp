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
