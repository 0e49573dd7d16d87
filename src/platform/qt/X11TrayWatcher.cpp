#include "platform/qt/X11TrayWatcher.h"

#include <QCoreApplication>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/qt/QtX11.h"

namespace surftally {

X11TrayWatcher::X11TrayWatcher(QObject* parent) : QObject(parent) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return;
    }
    selection_ = X11Atom(connection, "_NET_SYSTEM_TRAY_S" + std::to_string(X11ScreenNumber()));
    manager_ = X11Atom(connection, "MANAGER");
    if (selection_ == XCB_ATOM_NONE || manager_ == XCB_ATOM_NONE) {
        return;
    }
    x11_ = true;
    // MANAGER goes to the root window with the structure-notify mask.
    X11SelectMore(connection, X11Root(connection), XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    QCoreApplication::instance()->installNativeEventFilter(this);
    findOwner();
}

X11TrayWatcher::~X11TrayWatcher() {
    if (x11_) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void X11TrayWatcher::findOwner() {
    xcb_connection_t* connection = X11Connection();
    const bool was = available();
    const auto ownerNow = [&]() -> std::uint32_t {
        const auto cookie = xcb_get_selection_owner(connection, selection_);
        const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
            xcb_get_selection_owner_reply(connection, cookie, nullptr), &std::free);
        return reply != nullptr ? reply->owner : std::uint32_t{XCB_WINDOW_NONE};
    };
    // The owner's destruction is the area going away. It is watched first and the owner
    // asked for again, so that an area that goes meanwhile is not missed.
    owner_ = ownerNow();
    for (int tries = 0; owner_ != XCB_WINDOW_NONE && tries < 3; ++tries) {
        const bool watched = X11SelectMore(connection, owner_, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        const std::uint32_t again = ownerNow();
        if (watched && again == owner_) {
            break;
        }
        owner_ = again;
    }
    xcb_flush(connection);
    if (available() != was) {
        emit availableChanged(available());
    }
}

bool X11TrayWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
        case XCB_CLIENT_MESSAGE: {
            const auto* client = static_cast<const xcb_client_message_event_t*>(message);
            if (client->type == manager_ && client->data.data32[1] == selection_) {
                findOwner();
            }
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
            if (owner_ != 0 && destroyed->window == owner_) {
                findOwner();
            }
            break;
        }
        default:
            break;
    }
    return false;  // Qt handles every event as well
}

}  // namespace surftally
