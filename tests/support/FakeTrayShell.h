#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/TrayShell.h"

namespace surftally {

// A notification area for tests: records every request with the record as sent, can be told
// to refuse, and lets the test send messages to the allocated windows.
class FakeTrayShell : public TrayShell {
public:
    struct Request {
        NotifyRequest message;
        NotifyIconData data;

        // A request is told by its message where only that matters.
        friend bool operator==(const Request& request, NotifyRequest message) {
            return request.message == message;
        }
    };

    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override {
        const std::uintptr_t window = nextWindow_++;
        windows_[window] = std::move(procedure);
        lastWindow_ = window;
        return window;
    }

    void ReleaseMessageWindow(std::uintptr_t window) override {
        windows_.erase(window);
        released.push_back(window);
    }

    bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) override {
        requests.push_back({request, data});
        switch (request) {
            case NotifyRequest::Add:
                return !failAdd;
            case NotifyRequest::Modify:
                return !failModify;
            case NotifyRequest::Delete:
                return !failDelete;
        }
        return false;
    }

    std::uint32_t RecordSize() const override { return recordSize; }
    ScreenPoint GetCursorPos() const override { return cursor; }
    bool KeyDown(VirtualKey key) const override {
        switch (key) {
            case VirtualKey::Shift:
                return shiftDown;
            case VirtualKey::Control:
                return controlDown;
            case VirtualKey::Menu:
                return altDown;
        }
        return false;
    }

    // Sends a message to a window's procedure as the system would; false when the window is
    // not (or no longer) allocated. The result is left in `message`.
    bool send(std::uintptr_t window, TrayMessage& message) {
        const auto it = windows_.find(window);
        if (it == windows_.end()) {
            return false;
        }
        // A copy: the procedure may release its own window.
        const auto procedure = it->second;
        procedure(message);
        return true;
    }

    // The callback message with a mouse message in lParam.
    bool sendMouse(std::uintptr_t window, std::uint32_t mouseMessage) {
        TrayMessage message{TrayEvent::User + 1, 0, static_cast<std::intptr_t>(mouseMessage), 0};
        return send(window, message);
    }

    // The mouse message over the icon of the window allocated last, as its user makes it.
    bool mouse(std::uint32_t mouseMessage) { return sendMouse(lastWindow_, mouseMessage); }

    // The tip of the record sent last.
    std::string tip() const {
        return requests.empty() ? std::string() : requests.back().data.szTip;
    }

    bool isAllocated(std::uintptr_t window) const { return windows_.count(window) != 0; }
    std::size_t allocatedWindows() const { return windows_.size(); }

    std::size_t count(NotifyRequest wanted) const {
        std::size_t n = 0;
        for (const auto& request : requests) {
            n += request.message == wanted ? 1 : 0;
        }
        return n;
    }

    std::vector<Request> requests;
    std::vector<std::uintptr_t> released;
    bool failAdd = false;
    bool failModify = false;
    bool failDelete = false;
    std::uint32_t recordSize = kNotifyIconDataV1Size;
    ScreenPoint cursor{};
    bool shiftDown = false;
    bool controlDown = false;
    bool altDown = false;

private:
    std::map<std::uintptr_t, std::function<void(TrayMessage&)>> windows_;
    std::uintptr_t nextWindow_ = 0x1000;
    std::uintptr_t lastWindow_ = 0;
};

}  // namespace surftally
