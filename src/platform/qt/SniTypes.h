#pragma once

#include <QByteArray>
#include <QIcon>
#include <QList>

namespace surftally {

// One picture of a StatusNotifierItem icon, D-Bus (iiay): ARGB32, each pixel in network
// (big-endian) byte order.
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray pixels;

    bool operator==(const SniPixmap& other) const = default;
};
using SniPixmapList = QList<SniPixmap>;

// The pictures of an icon, one for each size it holds (16, 22, 24, 32 and 48 for an icon that
// names no sizes). A null icon gives none.
SniPixmapList SniPixmaps(const QIcon& icon);

}  // namespace surftally
