#include "tests/platform/qt/Screenshot.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

constexpr int kCaptionHeight = 24;
constexpr int kBorder = 1;

}  // namespace

QImage Screenshot::Framed(QWidget* window) {
    const QPixmap contents = window->grab();
    const QSize size(contents.width() + 2 * kBorder, contents.height() + kCaptionHeight + kBorder);
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor(0x40, 0x40, 0x40));
    QPainter painter(&image);
    painter.fillRect(QRect(kBorder, kBorder, contents.width(), kCaptionHeight - kBorder),
                     QColor(0x2b, 0x4a, 0x7e));
    const QPixmap icon = window->windowIcon().pixmap(16, 16);
    int textLeft = kBorder + 6;
    if (!icon.isNull()) {
        painter.drawPixmap(textLeft, (kCaptionHeight - 16) / 2, icon);
        textLeft += 16 + 6;
    }
    QFont font = window->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(
        QRect(textLeft, kBorder, contents.width() - textLeft, kCaptionHeight - kBorder),
        Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
    painter.drawPixmap(kBorder, kCaptionHeight, contents);
    painter.end();
    return image;
}

bool Screenshot::Save(QWidget* window, const std::string& name) {
    const QString directory = QStringLiteral(RXT9_SCREENSHOT_DIR);
    QDir().mkpath(directory);
    return Framed(window).save(directory + "/" + QString::fromStdString(name) + ".png", "PNG");
}
