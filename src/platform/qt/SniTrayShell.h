#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/qt/QtNotificationShell.h"

class QDBusServiceWatcher;

namespace surftally {

class StatusNotifierItem;

// The notification area of a desktop that speaks the D-Bus StatusNotifierItem protocol
// (Plasma, GNOME's AppIndicator extension, waybar): an add puts one item on the session bus
// under its own name and registers it with org.kde.StatusNotifierWatcher, a modify sends the
// picture or the tip when, and only when, it changed, a delete takes the item off the bus.
//
// The watcher's name is watched, not polled: an item is registered again whenever a watcher
// appears, and the area counts as there while a watcher with a host (the panel that shows the
// items) is on the bus.
//
// The item itself (StatusNotifierItem) has a bus connection and a thread of its own; the
// watcher is followed over Qt's connection. The host's requests become the callback messages
// a Windows shell would send. The protocol has no double click: activations are paired by
// when they arrived (SniActivations), which the item's thread notes as it reads each call,
// however late the event loop gets to them.
// One with no other within the double-click interval is a click; two within it are a double
// click (press, release, double-click message, release), so that the strip is toggled once
// and the settings open, as with a double click on Windows. A third activation right after (a
// toolkit's double click may send three) belongs to the same double click. Secondary activation
// (the middle button) is a middle press and release, the context-menu request a right press and
// release. Hosts report no pointer movement, so each shown item gets a pointer-move message once a
// second (QtPointerMoves), with the item's own update where one comes.
//
// One item at a time: its object is /StatusNotifierItem, the path hosts look for.
class SniTrayShell : public QObject, public QtNotificationShell {
    Q_OBJECT
public:
    // On the session bus.
    SniTrayShell();
    // The watcher followed over `connection`, the items on the bus at `itemBus` (the same bus;
    // the session bus when empty).
    SniTrayShell(QDBusConnection connection, QString itemBus, QObject* parent = nullptr);
    ~SniTrayShell() override;

    // A watcher with a host is on the bus.
    bool available() const { return watcherThere_ && hostThere_; }

    // The bus name of the item of an added record; empty when none. For tests.
    QString serviceName(std::uintptr_t window, std::uint32_t uID = 0) const;

    static constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";

signals:
    void availableChanged(bool available);

private slots:
    void hostRegistered();
    void hostUnregistered();

private:
    struct Entry;

    using Key = std::pair<std::uintptr_t, std::uint32_t>;

    bool notify(NotifyRequest message, const NotifyIconData& data) override;
    bool movesWanted() const override { return available() && !entries_.empty(); }
    void sendMoves() const override;
    // `tell`: the hosts are told of what changed.
    void apply(Entry& entry, const NotifyIconData& data, bool tell);
    void request(Key key, int kind, std::chrono::steady_clock::time_point at);
    void decide(Key key);
    void schedule(Entry& entry);
    void post(const Entry& entry, std::uint32_t mouseMessage) const;
    void watcherOwnerChanged(const QString& owner);
    void askHost();
    void registerItem(const Entry& entry);
    void setHost(bool there);

    QDBusConnection connection_;
    QString itemBus_;
    QDBusServiceWatcher* watcher_ = nullptr;
    std::map<Key, std::unique_ptr<Entry>> entries_;
    int nextItem_ = 1;
    bool watcherThere_ = false;
    bool hostThere_ = false;
};

}  // namespace surftally
