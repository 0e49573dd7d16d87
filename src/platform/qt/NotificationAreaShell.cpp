#include "platform/qt/NotificationAreaShell.h"

namespace surftally {

NotificationAreaShell::NotificationAreaShell(QObject* parent)
    : NotificationAreaShell(QDBusConnection::sessionBus(), QString(), parent) {}

NotificationAreaShell::NotificationAreaShell(QDBusConnection bus, QString busAddress,
                                             QObject* parent)
    : QObject(parent), sni_(std::move(bus), std::move(busAddress)) {
    useSni_ = sni_.available();
    wasAvailable_ = available();
    connect(&sni_, &SniTrayShell::availableChanged, this, &NotificationAreaShell::areaChanged);
    connect(&xembed_, &XEmbedTrayShell::availableChanged, this,
            &NotificationAreaShell::areaChanged);
}

NotificationAreaShell::~NotificationAreaShell() {
    for (const auto& [key, data] : icons_) {
        forward(useSni_, NotifyRequest::Delete, data);
    }
}

void NotificationAreaShell::setOnProcedureError(std::function<void(std::exception_ptr)> handler) {
    sni_.setOnProcedureError(handler);
    xembed_.setOnProcedureError(std::move(handler));
}

std::uintptr_t NotificationAreaShell::AllocateMessageWindow(
    std::function<void(TrayMessage&)> procedure) {
    const std::uintptr_t handle = nextWindow_++;
    windows_[handle] =
        Windows{sni_.AllocateMessageWindow(procedure), xembed_.AllocateMessageWindow(procedure)};
    return handle;
}

void NotificationAreaShell::ReleaseMessageWindow(std::uintptr_t window) {
    const auto it = windows_.find(window);
    if (it != windows_.end()) {
        sni_.ReleaseMessageWindow(it->second.sni);
        xembed_.ReleaseMessageWindow(it->second.xembed);
        windows_.erase(it);
    }
}

bool NotificationAreaShell::forward(bool toSni, NotifyRequest request, NotifyIconData data) {
    const auto it = windows_.find(data.hWnd);
    if (it == windows_.end()) {
        return false;
    }
    if (toSni) {
        data.hWnd = it->second.sni;
        return sni_.NotifyIcon(request, data);
    }
    data.hWnd = it->second.xembed;
    return xembed_.NotifyIcon(request, data);
}

bool NotificationAreaShell::NotifyIcon(NotifyRequest request, const NotifyIconData& data) {
    const auto key = std::make_pair(data.hWnd, data.uID);
    const bool known = icons_.count(key) != 0;
    if ((request == NotifyRequest::Add) == known) {
        return false;  // added twice, or changed or deleted while not added
    }
    const bool done = forward(useSni_, request, data);
    if (!done && request != NotifyRequest::Delete) {
        return false;
    }
    if (request == NotifyRequest::Delete) {
        icons_.erase(key);
    } else {
        icons_[key] = data;
    }
    return done;
}

void NotificationAreaShell::areaChanged() {
    // The D-Bus area wins where both are there; the X11 one also stands for none at all, and
    // keeps the icons until an area comes.
    const bool sni = sni_.available();
    if (sni != useSni_) {
        for (const auto& [key, data] : icons_) {
            forward(useSni_, NotifyRequest::Delete, data);
        }
        useSni_ = sni;
        for (const auto& [key, data] : icons_) {
            forward(useSni_, NotifyRequest::Add, data);
        }
    }
    const bool now = available();
    if (now != wasAvailable_) {
        wasAvailable_ = now;
        if (onAvailabilityChanged_) {
            onAvailabilityChanged_(now);
        }
    }
}

}  // namespace surftally
