#include "platform/windows/WinTrayShell.h"

#include "platform/windows/NativeNotifyRecord.h"

#include <stdexcept>
#include <string>

namespace surftally {

namespace {

constexpr const char* kWindowClass = "SurftallyTrayWindow";

LRESULT CALLBACK trayWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The class of the hidden windows, registered once for the process.
void registerWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = trayWindowProcedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return ::RegisterClassExA(&windowClass) != 0 ||
               ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
}

// The system's text for an error number, without the line break it ends in.
std::string systemMessage(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length != 0 && buffer != nullptr ? std::string(buffer, length) : "";
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "error " + std::to_string(error) : text;
}

UINT taskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

}  // namespace

struct WinTrayShell::Window {
    WinTrayShell* shell = nullptr;
    std::function<void(TrayMessage&)> procedure;

    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == taskbarCreatedMessage()) {
            shell->addIconsAgain(reinterpret_cast<std::uintptr_t>(hwnd));
            return 0;
        }
        // Once the procedure has the window, it answers every message itself; nothing goes
        // to the default procedure.
        TrayMessage m{message, static_cast<std::uintptr_t>(wParam),
                      static_cast<std::intptr_t>(lParam), 0};
        // The procedure may release this window (a click that ends the program): nothing of
        // *this is touched once it runs.
        WinTrayShell* const owner = shell;
        const std::function<void(TrayMessage&)> call = procedure;
        try {
            call(m);
        } catch (...) {
            if (!owner->onProcedureError_) {
                std::terminate();
            }
            owner->onProcedureError_(std::current_exception());
        }
        return static_cast<LRESULT>(m.Result);
    }
};

namespace {

LRESULT CALLBACK trayWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Until AllocateMessageWindow has attached the procedure (during creation) and after
    // ReleaseMessageWindow has detached it, the window is left to the default procedure.
    auto* window =
        reinterpret_cast<WinTrayShell::Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return window->handle(hwnd, message, wParam, lParam);
}

}  // namespace

WinTrayShell::WinTrayShell() {
    registerWindowClass();
}

WinTrayShell::~WinTrayShell() {
    while (!windows_.empty()) {
        ReleaseMessageWindow(windows_.begin()->first);
    }
}

std::uintptr_t WinTrayShell::AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) {
    // A hidden tool window with no owner: top-level, so that broadcasts reach it, and never
    // on the taskbar.
    const HWND hwnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                                        nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) {
        // An icon without its window could never call back: the icon is not added at all.
        throw std::runtime_error("Cannot create the notification icon's window: " +
                                 systemMessage(::GetLastError()));
    }
    // A program that runs elevated would not hear Explorer's broadcast otherwise.
    ::ChangeWindowMessageFilterEx(hwnd, taskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);

    auto window = std::make_unique<Window>();
    window->shell = this;
    window->procedure = std::move(procedure);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window.get()));
    const auto handle = reinterpret_cast<std::uintptr_t>(hwnd);
    windows_[handle] = std::move(window);
    return handle;
}

void WinTrayShell::ReleaseMessageWindow(std::uintptr_t window) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) {
        return;
    }
    const HWND hwnd = reinterpret_cast<HWND>(window);
    // An icon still in the notification area goes first, while the window its record names
    // exists: a removal that names a destroyed window can leave a ghost icon behind.
    for (auto it = icons_.begin(); it != icons_.end();) {
        if (it->first.first == window) {
            NOTIFYICONDATAA native = NativeNotifyRecord(it->second);
            ::Shell_NotifyIconA(NIM_DELETE, &native);
            it = icons_.erase(it);
        } else {
            ++it;
        }
    }
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
    windows_.erase(found);
}

bool WinTrayShell::NotifyIcon(NotifyRequest request, const NotifyIconData& data) {
    if (windows_.count(data.hWnd) == 0) {
        // Not (or no longer) one of this shell's windows: the system is not asked about a
        // window that may be gone or may be another program's.
        return false;
    }
    NOTIFYICONDATAA native = NativeNotifyRecord(data);
    const bool ok = ::Shell_NotifyIconA(static_cast<DWORD>(request), &native) != FALSE;
    const std::pair key{data.hWnd, data.uID};
    if (request == NotifyRequest::Add) {
        if (ok) {
            icons_[key] = data;
        }
    } else if (request == NotifyRequest::Modify) {
        // Kept even when the shell refused it: it is what the icon should show when it is
        // added again.
        if (const auto it = icons_.find(key); it != icons_.end()) {
            it->second = data;
        }
    } else if (request == NotifyRequest::Delete) {
        icons_.erase(key);
    }
    return ok;
}

std::uint32_t WinTrayShell::RecordSize() const {
    return NOTIFYICONDATAA_V1_SIZE;
}

void WinTrayShell::addIconsAgain(std::uintptr_t window) {
    for (const auto& [key, data] : icons_) {
        if (key.first == window) {
            NOTIFYICONDATAA native = NativeNotifyRecord(data);
            ::Shell_NotifyIconA(NIM_ADD, &native);
            ++iconsAddedAgain_;
        }
    }
}

ScreenPoint WinTrayShell::GetCursorPos() const {
    POINT point{};
    if (!::GetCursorPos(&point)) {
        return {};
    }
    return {static_cast<int>(point.x), static_cast<int>(point.y)};
}

bool WinTrayShell::KeyDown(VirtualKey key) const {
    int code = VK_SHIFT;
    switch (key) {
        case VirtualKey::Shift:
            code = VK_SHIFT;
            break;
        case VirtualKey::Control:
            code = VK_CONTROL;
            break;
        case VirtualKey::Menu:
            code = VK_MENU;
            break;
    }
    return ::GetKeyState(code) < 0;
}

void WinTrayShell::setOnProcedureError(std::function<void(std::exception_ptr)> handler) {
    onProcedureError_ = std::move(handler);
}

}  // namespace surftally
