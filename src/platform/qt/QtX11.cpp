#include "platform/qt/QtX11.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace surftally {

xcb_connection_t* X11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t X11Atom(xcb_connection_t* connection, const std::string& name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str());
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

int X11ScreenNumber() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr) {
        return 0;
    }
    const char* colon = std::strrchr(display, ':');
    const char* dot = colon != nullptr ? std::strchr(colon, '.') : nullptr;
    return dot != nullptr ? std::atoi(dot + 1) : 0;
}

xcb_window_t X11Root(xcb_connection_t* connection) {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = X11ScreenNumber(); i > 0 && screens.rem > 1; --i) {
        xcb_screen_next(&screens);
    }
    return screens.data != nullptr ? screens.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

bool X11SelectMore(xcb_connection_t* connection, xcb_window_t window, std::uint32_t mask) {
    // An event mask is per client and window: setting it replaces the one Qt may have set on
    // the same window, so it is read first.
    const auto cookie = xcb_get_window_attributes(connection, window);
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(connection, cookie, nullptr), &std::free);
    if (reply == nullptr) {
        return false;  // the window is gone
    }
    const std::uint32_t value = reply->your_event_mask | mask;
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &value);
    return true;
}

}  // namespace surftally
