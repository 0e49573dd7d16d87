#include "platform/qt/StatusNotifierItem.h"

#include <utility>

namespace surftally {

StatusNotifierItem::StatusNotifierItem(QString id, QString title,
                                       std::function<void(Request, int, int)> onRequest,
                                       QObject* parent)
    : QObject(parent),
      id_(std::move(id)),
      title_(std::move(title)),
      onRequest_(std::move(onRequest)) {}

void StatusNotifierItem::announce(void (StatusNotifierItem::*signal)()) {
    // The bus relays only what the object emits in its own thread.
    QMetaObject::invokeMethod(this, [this, signal] { emit(this->*signal)(); });
}

SniPixmapList StatusNotifierItem::iconPixmap() const {
    const QMutexLocker lock(&mutex_);
    return pixmaps_;
}

SniToolTip StatusNotifierItem::toolTip() const {
    const QMutexLocker lock(&mutex_);
    return {QString(), {}, tip_, QString()};
}

bool StatusNotifierItem::setPixmaps(const SniPixmapList& pixmaps) {
    {
        const QMutexLocker lock(&mutex_);
        if (pixmaps == pixmaps_) {
            return false;
        }
        pixmaps_ = pixmaps;
    }
    announce(&StatusNotifierItem::NewIcon);
    return true;
}

bool StatusNotifierItem::setTip(const QString& tip) {
    {
        const QMutexLocker lock(&mutex_);
        if (tip == tip_) {
            return false;
        }
        tip_ = tip;
    }
    announce(&StatusNotifierItem::NewToolTip);
    return true;
}

void StatusNotifierItem::Activate(int x, int y) {
    onRequest_(Request::Activate, x, y);
}

void StatusNotifierItem::SecondaryActivate(int x, int y) {
    onRequest_(Request::SecondaryActivate, x, y);
}

void StatusNotifierItem::ContextMenu(int x, int y) {
    onRequest_(Request::ContextMenu, x, y);
}

void StatusNotifierItem::Scroll(int, const QString&) {}

}  // namespace surftally
