#include "platform/qt/X11StripWindow.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/qt/QtX11.h"

namespace surftally {

namespace {

constexpr std::uint32_t kNetWmStateAdd = 1;
constexpr std::uint32_t kSourceApplication = 1;
constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;

void sendToRoot(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type,
                std::uint32_t data0, std::uint32_t data1, std::uint32_t data2,
                std::uint32_t data3) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    message.data.data32[0] = data0;
    message.data.data32[1] = data1;
    message.data.data32[2] = data2;
    message.data.data32[3] = data3;
    xcb_send_event(connection, 0, X11Root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

}  // namespace

X11StripWindow* X11StripWindow::attach(QWidget& window) {
    if (X11Connection() == nullptr) {
        return nullptr;
    }
    return new X11StripWindow(window);
}

X11StripWindow::X11StripWindow(QWidget& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
    if (window_.isVisible()) {
        giveStates(true);
    }
}

bool X11StripWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Show:
            // Sent before the window is mapped: what the program asked for is still its
            // geometry, and the states reach the manager with the map.
            giveStates(false);
            wanted_ = window_.geometry();
            asked_.assign(1, wanted_);
            watching_ = !bypassed_;
            sinceShow_.start();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            checkPlacement();
            break;
        default:
            break;
    }
    return false;
}

void X11StripWindow::placedByProgram(const QRect& geometry) {
    wanted_ = geometry;
    if (watching_) {
        asked_.push_back(geometry);
    }
}

void X11StripWindow::giveStates(bool mapped) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return;
    }
    const auto window = static_cast<xcb_window_t>(window_.winId());
    const xcb_atom_t state = X11Atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = X11Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = X11Atom(connection, "_NET_WM_STATE_SKIP_PAGER");
    const xcb_atom_t sticky = X11Atom(connection, "_NET_WM_STATE_STICKY");
    const xcb_atom_t desktop = X11Atom(connection, "_NET_WM_DESKTOP");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE || skipPager == XCB_ATOM_NONE ||
        sticky == XCB_ATOM_NONE || desktop == XCB_ATOM_NONE) {
        return;
    }
    if (mapped) {
        // A mapped window's states and desktop belong to the manager: it is asked.
        sendToRoot(connection, window, state, kNetWmStateAdd, skipTaskbar, skipPager,
                   kSourceApplication);
        sendToRoot(connection, window, state, kNetWmStateAdd, sticky, 0, kSourceApplication);
        sendToRoot(connection, window, desktop, kAllDesktops, kSourceApplication, 0, 0);
        xcb_flush(connection);
        return;
    }
    // Before the map the window sets them itself, beside the ones Qt sets (above), which Qt
    // keeps when it writes its own.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, desktop, XCB_ATOM_CARDINAL, 32,
                        1, &kAllDesktops);
    const auto cookie = xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 64);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    std::vector<xcb_atom_t> atoms;
    if (reply != nullptr && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        atoms.assign(values, values + xcb_get_property_value_length(reply.get()) / 4);
    }
    for (const xcb_atom_t wanted : {skipTaskbar, skipPager, sticky}) {
        if (std::find(atoms.begin(), atoms.end(), wanted) == atoms.end()) {
            atoms.push_back(wanted);
        }
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(atoms.size()), atoms.data());
}

void X11StripWindow::checkPlacement() {
    if (!watching_ || !window_.isVisible()) {
        return;
    }
    if (sinceShow_.elapsed() > kPlacementWatchMs) {
        watching_ = false;
        asked_.clear();
        return;
    }
    // Qt may report a passing position (relative to the manager's frame, before it has
    // translated it); the server is asked where the window is and how big it is.
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return;
    }
    const auto window = static_cast<xcb_window_t>(window_.winId());
    const auto geometryCookie = xcb_get_geometry(connection, window);
    const auto placeCookie =
        xcb_translate_coordinates(connection, window, X11Root(connection), 0, 0);
    const auto stateCookie = xcb_get_window_attributes(connection, window);
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection, geometryCookie, nullptr), &std::free);
    const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> place(
        xcb_translate_coordinates_reply(connection, placeCookie, nullptr), &std::free);
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> state(
        xcb_get_window_attributes_reply(connection, stateCookie, nullptr), &std::free);
    if (geometry == nullptr || place == nullptr || state == nullptr) {
        return;
    }
    if (state->map_state != XCB_MAP_STATE_VIEWABLE) {
        // Being mapped, the window may stand in a frame not yet placed (at 0/0): it is looked
        // at again once it is on the screen.
        if (!recheckQueued_) {
            recheckQueued_ = true;
            QTimer::singleShot(kRecheckMs, this, [this] {
                recheckQueued_ = false;
                checkPlacement();
            });
        }
        return;
    }
    // A place or size the program did not ask for is the manager's. The server counts the
    // screen's pixels, the program its own: at a scale other than 1 they differ.
    const qreal ratio = window_.devicePixelRatioF();
    const QRect onServer(place->dst_x, place->dst_y, geometry->width, geometry->height);
    const bool asked = std::any_of(asked_.begin(), asked_.end(), [&](const QRect& rect) {
        return QRect((QPointF(rect.topLeft()) * ratio).toPoint(),
                     (QSizeF(rect.size()) * ratio).toSize()) == onServer;
    });
    if (!asked && !bypassQueued_) {
        bypassQueued_ = true;
        // Not inside the manager's configure event: the window is unmapped and made anew.
        QTimer::singleShot(0, this, &X11StripWindow::bypass);
    }
}

void X11StripWindow::bypass() {
    bypassQueued_ = false;
    if (bypassed_) {
        return;
    }
    bypassed_ = true;
    watching_ = false;
    const bool visible = window_.isVisible();
    const QPoint at = wanted_.topLeft();
    window_.setWindowFlag(Qt::X11BypassWindowManagerHint, true);  // hides the window
    window_.move(at);
    if (window_.minimumSize() == window_.maximumSize()) {
        window_.resize(window_.minimumSize());
    }
    if (visible) {
        window_.show();
    }
}

}  // namespace surftally
