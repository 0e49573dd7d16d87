#pragma once

// The notification item's D-Bus types as a host reads them through Qt's D-Bus: a picture
// (iiay) and a tip (sa(iiay)ss).

#include <QDBusArgument>
#include <QString>

#include "platform/qt/SniTypes.h"

namespace surftally {

// Icon name, icon pictures, title, description.
struct SniToolTip {
    QString iconName;
    SniPixmapList pixmaps;
    QString title;
    QString description;
};

inline const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.pixels;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip) {
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.description;
    argument.endStructure();
    return argument;
}

}  // namespace surftally
