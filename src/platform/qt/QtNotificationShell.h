#pragma once

#include <QObject>

#include <cstdint>
#include <exception>
#include <functional>
#include <utility>

#include "platform/TrayShell.h"
#include "platform/qt/QtMessageWindows.h"
#include "platform/qt/QtPointerMoves.h"

namespace surftally {

// What the Qt notification shells share: the message windows they hand out, the pointer and
// keys read from the X server, and the pointer-move messages that stand in for the movement
// the areas never report. The moves run while an icon is there to show (movesWanted) and ride
// on the icons' updates: each add or modify that went through is one.
class QtNotificationShell : public TrayShell {
public:
    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override;
    void ReleaseMessageWindow(std::uintptr_t window) override;
    bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) final;
    ScreenPoint GetCursorPos() const override;
    bool KeyDown(VirtualKey key) const override;

    // An exception must not unwind through the event loop; one that leaves a message
    // window's procedure is handed here. Without a handler the program ends (std::terminate).
    void setOnProcedureError(std::function<void(std::exception_ptr)> handler) {
        windows_.setOnProcedureError(std::move(handler));
    }

    static constexpr int kMoveIntervalMs = 1000;

protected:
    // `owner`: the shell's QObject, which holds the message windows.
    explicit QtNotificationShell(QObject* owner);

    // The shell's own handling of a request; whether it went through.
    virtual bool notify(NotifyRequest request, const NotifyIconData& data) = 0;
    // An icon is there to show, in an area that is there.
    virtual bool movesWanted() const = 0;
    // Posts a pointer-move message for each shown icon.
    virtual void sendMoves() const = 0;
    // To be called when what movesWanted reads changed.
    void refreshMoves() { moves_.setActive(movesWanted()); }

    QtMessageWindows windows_;

private:
    QtPointerMoves moves_;
};

}  // namespace surftally
