#include "platform/qt/SniTypes.h"

#include <QImage>

namespace surftally {

SniPixmapList SniPixmaps(const QIcon& icon) {
    SniPixmapList result;
    if (icon.isNull()) {
        return result;
    }
    QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty()) {
        sizes = {QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }
    for (const QSize& size : sizes) {
        const QImage image =
            icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            continue;
        }
        SniPixmap pixmap{image.width(), image.height(), {}};
        pixmap.pixels.reserve(image.width() * image.height() * 4);
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = line[x];
                pixmap.pixels.append(static_cast<char>(qAlpha(pixel)));
                pixmap.pixels.append(static_cast<char>(qRed(pixel)));
                pixmap.pixels.append(static_cast<char>(qGreen(pixel)));
                pixmap.pixels.append(static_cast<char>(qBlue(pixel)));
            }
        }
        result.append(pixmap);
    }
    return result;
}

}  // namespace surftally
