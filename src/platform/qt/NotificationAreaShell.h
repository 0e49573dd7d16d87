#pragma once

#include <QObject>

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/TrayShell.h"
#include "platform/qt/SniTrayShell.h"
#include "platform/qt/XEmbedTrayShell.h"

namespace surftally {

// The notification area of a Linux desktop, whichever protocol it speaks: the D-Bus
// StatusNotifierItem shell while a watcher with a host is on the session bus, the X11
// (XEmbed) QSystemTrayIcon shell otherwise. The icons move from one to the other when that
// changes, with the picture and tip they last had. Each message window the icon asks for is
// one in each shell, both with the icon's procedure; only the shell that holds the icon
// posts to it.
class NotificationAreaShell : public QObject, public TrayShell {
    Q_OBJECT
public:
    explicit NotificationAreaShell(QObject* parent = nullptr);
    // Over a given bus and its address (tests).
    NotificationAreaShell(QDBusConnection bus, QString busAddress, QObject* parent = nullptr);
    ~NotificationAreaShell() override;

    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override;
    void ReleaseMessageWindow(std::uintptr_t window) override;
    bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) override;
    ScreenPoint GetCursorPos() const override { return sni_.GetCursorPos(); }
    bool KeyDown(VirtualKey key) const override { return sni_.KeyDown(key); }

    void setOnProcedureError(std::function<void(std::exception_ptr)> handler);

    // Whether the desktop has a notification area of either kind now.
    bool available() const { return sni_.available() || xembed_.available(); }
    // Called with the new value whenever that changes.
    void setOnAvailabilityChanged(std::function<void(bool)> handler) {
        onAvailabilityChanged_ = std::move(handler);
    }

    // The shell the icons are in now.
    bool usesStatusNotifier() const { return useSni_; }
    SniTrayShell& statusNotifierShell() { return sni_; }
    XEmbedTrayShell& xembedShell() { return xembed_; }

private:
    struct Windows {
        std::uintptr_t sni = 0;
        std::uintptr_t xembed = 0;
    };

    void areaChanged();
    bool forward(bool toSni, NotifyRequest request, NotifyIconData data);

    SniTrayShell sni_;
    XEmbedTrayShell xembed_;
    bool useSni_ = false;
    bool wasAvailable_ = false;
    std::map<std::uintptr_t, Windows> windows_;
    std::uintptr_t nextWindow_ = 1;
    // The last record of each added icon, by (window, uID).
    std::map<std::pair<std::uintptr_t, std::uint32_t>, NotifyIconData> icons_;
    std::function<void(bool)> onAvailabilityChanged_;
};

}  // namespace surftally
