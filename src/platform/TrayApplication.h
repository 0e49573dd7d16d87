#pragma once

#include <functional>
#include <string>

#include "platform/TIcon.h"

namespace surftally {

// What the notification icon uses of the application object: its icon and title, the
// top-level window that carries the taskbar button, and its minimise and restore
// notifications (each holds one handler; setting one replaces the previous).
class TrayApplication {
public:
    virtual ~TrayApplication() = default;

    virtual const TIcon& Icon() const = 0;
    virtual std::string Title() const = 0;

    virtual bool IsWindowVisible() const = 0;
    // SW_HIDE (false) or SW_RESTORE (true) on the application's own window.
    virtual void ShowWindow(bool restore) = 0;

    virtual void setOnMinimize(std::function<void()> handler) = 0;
    virtual void setOnRestore(std::function<void()> handler) = 0;
};

}  // namespace surftally
