#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QString>

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

// An item's tip, D-Bus (sa(iiay)ss): icon name, icon pictures, title, description.
struct SniToolTip {
    QString iconName;
    SniPixmapList pixmaps;
    QString title;
    QString description;
};

// The pictures of an icon, one for each size it holds (16, 22, 24, 32 and 48 for an icon that
// names no sizes). A null icon gives none.
SniPixmapList SniPixmaps(const QIcon& icon);

// Registers the types with Qt's D-Bus, once.
void RegisterSniTypes();

QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip);

}  // namespace surftally

Q_DECLARE_METATYPE(surftally::SniPixmap)
Q_DECLARE_METATYPE(surftally::SniToolTip)
