#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include <functional>

#include "platform/qt/SniTypes.h"

namespace surftally {

// One icon on the session bus, as the org.kde.StatusNotifierItem interface: its picture and
// tip as properties, the host's clicks as methods, and a signal for each change. It sends a
// change signal only when the value differs from what the host has.
//
// It may live in a thread of its own, so that a click is taken as soon as it arrives: the
// host's reads run there, the program's changes in its own thread.
class StatusNotifierItem : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconThemePath READ emptyText)
    Q_PROPERTY(QString IconName READ emptyText)
    Q_PROPERTY(surftally::SniPixmapList IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyText)
    Q_PROPERTY(surftally::SniPixmapList OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ emptyText)
    Q_PROPERTY(surftally::SniPixmapList AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ emptyText)
    Q_PROPERTY(surftally::SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)

public:
    enum class Request { Activate, SecondaryActivate, ContextMenu };

    // `onRequest` gets the host's clicks, with the pointer position the host gives.
    StatusNotifierItem(QString id, QString title,
                       std::function<void(Request, int x, int y)> onRequest, QObject* parent);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return id_; }
    QString title() const { return title_; }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString emptyText() const { return {}; }
    SniPixmapList iconPixmap() const;
    SniPixmapList noPixmaps() const { return {}; }
    SniToolTip toolTip() const;
    bool itemIsMenu() const { return false; }

    // Each returns whether the value changed, and then signals the host.
    bool setPixmaps(const SniPixmapList& pixmaps);
    bool setTip(const QString& tip);

public slots:
    Q_SCRIPTABLE void Activate(int x, int y);
    Q_SCRIPTABLE void SecondaryActivate(int x, int y);
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    Q_SCRIPTABLE void Scroll(int delta, const QString& orientation);

signals:
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewAttentionIcon();
    Q_SCRIPTABLE void NewOverlayIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString& status);

private:
    void announce(void (StatusNotifierItem::*signal)());

    QString id_;
    QString title_;
    std::function<void(Request, int, int)> onRequest_;
    mutable QMutex mutex_;  // guards what the host reads
    SniPixmapList pixmaps_;
    QString tip_;
};

}  // namespace surftally
