#include "platform/qt/SniTypes.h"

#include <QDBusMetaType>
#include <QImage>

#include <mutex>

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

void RegisterSniTypes() {
    static std::once_flag once;
    std::call_once(once, [] {
        qDBusRegisterMetaType<SniPixmap>();
        qDBusRegisterMetaType<SniPixmapList>();
        qDBusRegisterMetaType<SniToolTip>();
    });
}

QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip) {
    argument.beginStructure();
    argument << tip.iconName << tip.pixmaps << tip.title << tip.description;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip) {
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.description;
    argument.endStructure();
    return argument;
}

}  // namespace surftally
