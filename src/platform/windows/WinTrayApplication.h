#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/TIcon.h"
#include "platform/TrayApplication.h"

namespace surftally {

class WinIconImage;

// The application object on Windows: a top-level window of its own that carries the
// program's taskbar button, with the program's title and icon, and the minimise and restore
// of that window. Created hidden; the program shows or hides it (ShowWindow).
class WinTrayApplication final : public TrayApplication {
public:
    // The icon starts as the executable's own (its icon resource 1; the system's application
    // icon in a program without one).
    explicit WinTrayApplication(std::string title = "Surftally");
    ~WinTrayApplication() override;
    WinTrayApplication(const WinTrayApplication&) = delete;
    WinTrayApplication& operator=(const WinTrayApplication&) = delete;

    const TIcon& Icon() const override { return icon_; }
    // Loads an .ico file's small picture (the notification area's size) into the application
    // icon and gives it to the window. A file unchanged since it was last loaded (same time
    // and size) gives the same picture again, so that loading it every second costs nothing
    // and leaks nothing. Raises std::runtime_error("Cannot open file " + path), leaving the
    // icon as it was.
    void loadIcon(const std::filesystem::path& file);

    std::string Title() const override { return title_; }

    bool IsWindowVisible() const override;
    void ShowWindow(bool restore) override;

    // Run from the message loop after the window was minimised, or restored from minimised.
    void setOnMinimize(std::function<void()> handler) override { onMinimize_ = std::move(handler); }
    void setOnRestore(std::function<void()> handler) override { onRestore_ = std::move(handler); }
    // Closing the window (its taskbar button's Close) runs this instead of destroying it.
    void setOnClose(std::function<void()> handler) { onClose_ = std::move(handler); }
    // Windows ends the session (log-off, shut-down, an installer's restart manager): run
    // when the end is certain (WM_ENDSESSION), before the system may end the process.
    void setOnEndSession(std::function<void()> handler) { onEndSession_ = std::move(handler); }

    // An exception must not unwind through the system's window procedure; one that leaves a
    // handler is handed here. Without a handler the program ends (std::terminate).
    void setOnProcedureError(std::function<void(std::exception_ptr)> handler) {
        onProcedureError_ = std::move(handler);
    }

    // The window's handle (HWND).
    std::uintptr_t window() const { return window_; }

    // The window procedure's part; public for the procedure only.
    std::intptr_t handleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                bool& handled);

private:
    struct LoadedIcon {
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        std::shared_ptr<const WinIconImage> image;
    };

    void setImage(std::shared_ptr<const IconImage> image);
    void run(const std::function<void()>& handler);

    std::string title_;
    std::uintptr_t window_ = 0;
    TIcon icon_;
    std::map<std::filesystem::path, LoadedIcon> loaded_;
    bool minimized_ = false;
    std::function<void()> onMinimize_;
    std::function<void()> onRestore_;
    std::function<void()> onClose_;
    std::function<void()> onEndSession_;
    std::function<void(std::exception_ptr)> onProcedureError_;
};

}  // namespace surftally
