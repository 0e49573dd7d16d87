#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/TrayShell.h"

namespace surftally {

// The Windows notification area (Shell_NotifyIconA) and the hidden windows that receive its
// callback messages. Every window is top-level, though never shown, so that it also hears
// the broadcasts sent to top-level windows: the session's end, and "TaskbarCreated" when
// Explorer has rebuilt the notification area, on which the shell adds each icon it put there
// again, with the record last sent for it.
class WinTrayShell final : public TrayShell {
public:
    WinTrayShell();
    ~WinTrayShell() override;
    WinTrayShell(const WinTrayShell&) = delete;
    WinTrayShell& operator=(const WinTrayShell&) = delete;

    // Raises std::runtime_error with the system's reason when the window cannot be created.
    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override;
    // Removes the window's icons that are still in the notification area, then the window.
    void ReleaseMessageWindow(std::uintptr_t window) override;
    // Refused (false, the system not called) for a window that is not this shell's.
    bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) override;
    // The first-version size of this target: 104 on 64-bit Windows, 88 on 32-bit.
    std::uint32_t RecordSize() const override;
    ScreenPoint GetCursorPos() const override;
    bool KeyDown(VirtualKey key) const override;

    // An exception must not unwind through the system's window procedures; one that leaves
    // a procedure is handed here. Without a handler the program ends (std::terminate).
    void setOnProcedureError(std::function<void(std::exception_ptr)> handler);

    // How often the icons were added again after the notification area was rebuilt.
    int iconsAddedAgain() const { return iconsAddedAgain_; }

    // One hidden window and its procedure; opaque outside the shell.
    struct Window;

private:
    void addIconsAgain(std::uintptr_t window);

    std::map<std::uintptr_t, std::unique_ptr<Window>> windows_;
    // The record last sent for each icon that is in the notification area, by window and id.
    std::map<std::pair<std::uintptr_t, std::uint32_t>, NotifyIconData> icons_;
    std::function<void(std::exception_ptr)> onProcedureError_;
    int iconsAddedAgain_ = 0;
};

}  // namespace surftally
