#pragma once

#include <QIcon>

#include <cstdint>
#include <optional>

#include "platform/TrayShell.h"
#include "platform/qt/QtMessageWindows.h"

namespace surftally {

// An added icon as both Qt notification shells keep it: where its pointer messages go and
// which picture the area shows.
struct QtIconRecord {
    std::uintptr_t window = 0;
    std::uint32_t uID = 0;
    std::uint32_t callbackMessage = 0;
    bool hasCallback = false;
    std::uintptr_t shownIcon = 0;  // the handle whose picture the area shows

    // Takes an add's or a modify's callback message. Returns the picture to show when the
    // record names another handle: the tick gives the same one every second, and a handle
    // whose image is gone keeps the picture shown before.
    std::optional<QIcon> take(const NotifyIconData& data);
    // Queues the callback message with a pointer message, as a Windows shell sends it.
    void post(const QtMessageWindows& windows, std::uint32_t mouseMessage) const;
};

}  // namespace surftally
