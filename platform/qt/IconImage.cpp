#include "platform/qt/IconImage.h"

#include <QPixmap>
#include <optional>

namespace win {

namespace {

std::optional<QRgb> PixelColour(char pixel) {
    switch (pixel) {
        case '.':
            return qRgba(0, 0, 0, 0);
        case 'k':
            return qRgb(0, 0, 0);
        case 'g':
            return qRgb(192, 192, 192);
        case 'w':
            return qRgb(255, 255, 255);
        case 'b':
            return qRgb(0, 0, 255);
        case 'r':
            return qRgb(255, 0, 0);
        default:
            return std::nullopt;
    }
}

}  // namespace

QImage IconImage::FromResource(HICON icon) {
    constexpr DWORD kPixels = kSide * kSide;
    if (icon == nullptr || icon->data == nullptr || icon->size < kPixels) {
        return {};
    }
    const char* pixels = static_cast<const char*>(icon->data);
    QImage image(kSide, kSide, QImage::Format_ARGB32);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const std::optional<QRgb> colour = PixelColour(pixels[y * kSide + x]);
            if (!colour) {
                return {};
            }
            image.setPixel(x, y, *colour);
        }
    }
    return image;
}

QImage IconImage::AtSide(HICON icon, int side) {
    QImage drawn = FromResource(icon);
    if (drawn.isNull() || side == kSide) {
        return drawn;
    }
    return drawn.scaled(side, side, Qt::IgnoreAspectRatio,
                        side > kSide ? Qt::FastTransformation : Qt::SmoothTransformation);
}

QIcon IconImage::ToIcon(HICON icon) {
    const QImage image = FromResource(icon);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace win
