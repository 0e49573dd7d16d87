#pragma once

#include <xcb/xcb.h>

#include <string>

namespace surftally {

// The application's own X11 connection; null when Qt does not run on X11.
xcb_connection_t* X11Connection();

// The atom of that name, made when the server does not know it yet; 0 on failure.
xcb_atom_t X11Atom(xcb_connection_t* connection, const std::string& name);

// The root window of the default screen (the one DISPLAY names).
xcb_window_t X11Root(xcb_connection_t* connection);

// The default screen's number, from DISPLAY.
int X11ScreenNumber();

// Adds `mask` to the events this connection selects on `window`, keeping what it had;
// false when the window is gone.
bool X11SelectMore(xcb_connection_t* connection, xcb_window_t window, std::uint32_t mask);

}  // namespace surftally
