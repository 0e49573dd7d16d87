#include "QtMessageWindows.h"

#include "QtMessageWindow.h"

namespace surftally {

QtMessageWindows::~QtMessageWindows() {
    for (auto& [handle, window] : windows_) {
        window->close();
    }
}

std::uintptr_t QtMessageWindows::allocate(std::function<void(TrayMessage&)> procedure) {
    const std::uintptr_t handle = next_++;
    const auto failed = [this](std::exception_ptr error) {
        if (!onProcedureError_) {
            std::terminate();
        }
        onProcedureError_(error);
    };
    windows_[handle] = new QtMessageWindow(std::move(procedure), failed, parent_);
    return handle;
}

void QtMessageWindows::release(std::uintptr_t window) {
    const auto it = windows_.find(window);
    if (it != windows_.end()) {
        QtMessageWindow* released = it->second;
        windows_.erase(it);
        released->close();
    }
}

void QtMessageWindows::post(std::uintptr_t window, const TrayMessage& message) const {
    const auto it = windows_.find(window);
    if (it != windows_.end()) {
        it->second->post(message);
    }
}

}  // namespace surftally
