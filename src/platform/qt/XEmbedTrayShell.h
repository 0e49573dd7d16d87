#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/TrayShell.h"
#include "platform/qt/QtMessageWindows.h"
#include "platform/qt/QtPointerMoves.h"
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
class XEmbedTrayShell : public QObject, public TrayShell {
    Q_OBJECT
public:
    explicit XEmbedTrayShell(QObject* parent = nullptr);
    ~XEmbedTrayShell() override;

    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override;
    void ReleaseMessageWindow(std::uintptr_t window) override;
    bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) override;
    ScreenPoint GetCursorPos() const override;
    bool KeyDown(VirtualKey key) const override;

    // An exception must not unwind through the event loop; one that leaves a message
    // window's procedure is handed here. Without a handler the program ends (std::terminate).
    void setOnProcedureError(std::function<void(std::exception_ptr)> handler) {
        windows_.setOnProcedureError(std::move(handler));
    }

    // Whether the desktop has a notification area now.
    bool available() const { return available_; }

    // The Qt icon behind an added record (window, uID); null when none. For tests.
    QSystemTrayIcon* trayIcon(std::uintptr_t window, std::uint32_t uID = 0) const;

    static constexpr int kMoveIntervalMs = 1000;

signals:
    // A notification area appeared or went away.
    void availableChanged(bool available);

private:
    struct Entry;

    bool notify(NotifyRequest message, const NotifyIconData& data);
    void apply(Entry& entry, const NotifyIconData& data);
    void showIfPossible(Entry& entry);
    void post(const Entry& entry, std::uint32_t mouseMessage) const;
    void activated(const Entry& entry, QSystemTrayIcon::ActivationReason reason) const;
    void trayChanged(bool available);
    void sendMoves() const;
    // Moves while an icon is there to show; `updated`: an icon was, which may carry one.
    void refreshMoves(bool updated = false);

    QtMessageWindows windows_{this};
    std::map<std::pair<std::uintptr_t, std::uint32_t>, std::unique_ptr<Entry>> entries_;
    X11TrayWatcher tray_;
    bool available_ = false;
    QtPointerMoves moves_{kMoveIntervalMs, [this] { sendMoves(); }};
};

}  // namespace surftally
