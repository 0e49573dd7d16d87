#include "platform/qt/QtNotificationShell.h"

#include "platform/qt/QtPointerKeys.h"

namespace surftally {

QtNotificationShell::QtNotificationShell(QObject* owner)
    : windows_(owner), moves_(kMoveIntervalMs, [this] { sendMoves(); }) {}

std::uintptr_t QtNotificationShell::AllocateMessageWindow(
    std::function<void(TrayMessage&)> procedure) {
    return windows_.allocate(std::move(procedure));
}

void QtNotificationShell::ReleaseMessageWindow(std::uintptr_t window) {
    windows_.release(window);
}

bool QtNotificationShell::NotifyIcon(NotifyRequest request, const NotifyIconData& data) {
    const bool done = notify(request, data);
    refreshMoves();
    if (done && request != NotifyRequest::Delete) {
        moves_.updated();
    }
    return done;
}

ScreenPoint QtNotificationShell::GetCursorPos() const {
    return QtCursorPos();
}

bool QtNotificationShell::KeyDown(VirtualKey key) const {
    return QtKeyDown(key);
}

}  // namespace surftally
