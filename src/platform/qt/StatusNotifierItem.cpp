#include "StatusNotifierItem.h"

#include <utility>

namespace surftally {

StatusNotifierItem::StatusNotifierItem(QString id, QString title,
                                       std::function<void(Request, int, int)> onRequest,
                                       QObject* parent)
    : QObject(parent),
      id_(std::move(id)),
      title_(std::move(title)),
      onRequest_(std::move(onRequest)) {}

bool StatusNotifierItem::setPixmaps(const SniPixmapList& pixmaps) {
    if (pixmaps == pixmaps_) {
        return false;
    }
    pixmaps_ = pixmaps;
    emit NewIcon();
    return true;
}

bool StatusNotifierItem::setTip(const QString& tip) {
    if (tip == tip_) {
        return false;
    }
    tip_ = tip;
    emit NewToolTip();
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
