#pragma once

#include <functional>
#include <optional>
#include <string>

namespace surftally {

// The Qt platform the program asks for, from the session's environment (`lookup` gives a
// variable's value, or nothing when it is unset). A Wayland session with XWayland beside it
// (both WAYLAND_DISPLAY and DISPLAY) gives "xcb": an X11 window may choose its position and
// stay above the others, which a Wayland compositor does not let a client do. A Wayland
// session without XWayland gives "wayland". A platform the user chose (QT_QPA_PLATFORM) is
// kept: nothing is returned then, nor on a session that is not Wayland.
std::optional<std::string> PreferredQtPlatform(
    const std::function<std::optional<std::string>(const char*)>& lookup);

// Sets QT_QPA_PLATFORM from PreferredQtPlatform over the process environment. Must run before
// the QApplication is created.
void ChooseQtPlatform();

}  // namespace surftally
