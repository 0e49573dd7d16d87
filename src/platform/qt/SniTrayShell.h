#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/TrayShell.h"
#include "platform/qt/QtMessageWindows.h"
#include "platform/qt/QtPointerMoves.h"

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
// The host's requests become the callback messages a Windows shell would send. The protocol
// has no double click: activations are paired by when they arrived (SniActivations), which
// the item's own thread notes as it takes each call, however late the event loop gets to them.
// One with no other within the double-click interval is a click; two within it are a double
// click (press, release, double-click message, release), so that the strip is toggled once
// and the settings open, as with a double click on Windows. A third activation right after (a
// toolkit's double click may send three) belongs to the same double click. Secondary activation
// (the middle button) is a middle press and release, the context-menu request a right press and
// release. Hosts report no pointer movement, so each shown item gets a pointer-move message once a
// second (QtPointerMoves), with the item's own update where one comes.
//
// One item at a time: its object is /StatusNotifierItem, the path hosts look for.
class SniTrayShell : public QObject, public TrayShell {
    Q_OBJECT
public:
    explicit SniTrayShell(QDBusConnection connection = QDBusConnection::sessionBus(),
                          QObject* parent = nullptr);
    ~SniTrayShell() override;

    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override;
    void ReleaseMessageWindow(std::uintptr_t window) override;
    bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) override;
    ScreenPoint GetCursorPos() const override;
    bool KeyDown(VirtualKey key) const override;

    void setOnProcedureError(std::function<void(std::exception_ptr)> handler) {
        windows_.setOnProcedureError(std::move(handler));
    }

    // A watcher with a host is on the bus.
    bool available() const { return watcherThere_ && hostThere_; }

    // The bus name of the item of an added record; empty when none. For tests.
    QString serviceName(std::uintptr_t window, std::uint32_t uID = 0) const;

    static constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char* kItemPath = "/StatusNotifierItem";
    static constexpr int kMoveIntervalMs = 1000;

signals:
    void availableChanged(bool available);

private slots:
    void hostRegistered();
    void hostUnregistered();

private:
    struct Entry;

    using Key = std::pair<std::uintptr_t, std::uint32_t>;

    bool notify(NotifyRequest message, const NotifyIconData& data);
    void apply(Entry& entry, const NotifyIconData& data);
    void request(Key key, int kind, std::chrono::steady_clock::time_point at);
    void decide(Key key);
    void schedule(Entry& entry);
    void post(const Entry& entry, std::uint32_t mouseMessage) const;
    void watcherOwnerChanged(const QString& owner);
    void askHost();
    void registerItem(const Entry& entry);
    void setHost(bool there);
    void sendMoves() const;
    // Moves while an icon is there to show; `updated`: an icon was, which may carry one.
    void refreshMoves(bool updated = false);

    QDBusConnection connection_;
    QDBusServiceWatcher* watcher_ = nullptr;
    QtMessageWindows windows_{this};
    std::map<Key, std::unique_ptr<Entry>> entries_;
    QThread itemThread_;  // where the items take the host's calls
    int nextItem_ = 1;
    bool watcherThere_ = false;
    bool hostThere_ = false;
    QtPointerMoves moves_{kMoveIntervalMs, [this] { sendMoves(); }};
};

}  // namespace surftally
