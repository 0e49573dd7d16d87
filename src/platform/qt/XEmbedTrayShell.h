#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/qt/QtNotificationShell.h"
#include "platform/qt/X11TrayWatcher.h"

namespace surftally {

// The notification area of a Linux desktop, over QSystemTrayIcon. An add shows the icon with
// its tip, a modify updates them, a delete hides it. Activations become the callback messages
// a Windows shell would send: a left click is a left press and release, a double click the
// double-click message and a release, the context button a right press and release, the
// middle button a middle press and release. QSystemTrayIcon reports no pointer movement, so
// each shown icon gets a pointer-move message once a second (QtPointerMoves), with the icon's
// own update where one comes.
//
// A desktop without a notification area is not a failure: the add succeeds and the icon
// appears when an area shows up (X11TrayWatcher tells, nothing is polled). An icon added
// without a picture appears with its first one. A modify that changes neither the picture nor
// the tip does not reach the area.
//
// No QSystemTrayIcon is made before the first add: Qt decides once, with the first one, whether
// its icons go to a D-Bus notification area or embed the X11 way, and the program's D-Bus
// shell adds here only while there is no D-Bus area.
class XEmbedTrayShell : public QObject, public QtNotificationShell {
    Q_OBJECT
public:
    explicit XEmbedTrayShell(QObject* parent = nullptr);
    ~XEmbedTrayShell() override;

    // Whether the desktop has a notification area now.
    bool available() const { return available_; }

    // The Qt icon behind an added record (window, uID); null when none. For tests.
    QSystemTrayIcon* trayIcon(std::uintptr_t window, std::uint32_t uID = 0) const;

signals:
    // A notification area appeared or went away.
    void availableChanged(bool available);

private:
    struct Entry;

    bool notify(NotifyRequest message, const NotifyIconData& data) override;
    bool movesWanted() const override { return available_ && !entries_.empty(); }
    void sendMoves() const override;
    void apply(Entry& entry, const NotifyIconData& data);
    void showIfPossible(Entry& entry);
    void post(const Entry& entry, std::uint32_t mouseMessage) const;
    void activated(const Entry& entry, QSystemTrayIcon::ActivationReason reason) const;
    void trayChanged(bool available);

    std::map<std::pair<std::uintptr_t, std::uint32_t>, std::unique_ptr<Entry>> entries_;
    X11TrayWatcher tray_;
    bool available_ = false;
};

}  // namespace surftally
