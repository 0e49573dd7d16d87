#include "platform/windows/WinTrayApplication.h"

#include <stdexcept>
#include <utility>

#include <windows.h>

#include "platform/windows/WinIconImage.h"

namespace surftally {

namespace {

constexpr const wchar_t* kWindowClass = L"SurftallyApplication";
// Posted to the window to run the minimise (wParam 0) or restore (1) handler from the loop,
// outside the window's own state change.
constexpr UINT kNotifyMessage = WM_APP + 1;

std::wstring wide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          length);
    return result;
}

LRESULT CALLBACK applicationProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* application =
        reinterpret_cast<WinTrayApplication*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (application != nullptr) {
        bool handled = false;
        const std::intptr_t result =
            application->handleMessage(message, static_cast<std::uintptr_t>(wParam),
                                       static_cast<std::intptr_t>(lParam), handled);
        if (handled) {
            return static_cast<LRESULT>(result);
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerWindowClass(HINSTANCE instance) {
    static const bool registered = [instance] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = applicationProcedure;
        windowClass.hInstance = instance;
        windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
        if (windowClass.hIcon == nullptr) {
            windowClass.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
        }
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return ::RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

// The program's own icon at the small size, or the system's shared application icon.
std::shared_ptr<const IconImage> programIcon(HINSTANCE instance) {
    const int size = SmallIconSize();
    if (const HANDLE own = ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)) {
        return std::make_shared<WinIconImage>(reinterpret_cast<std::uintptr_t>(own), true);
    }
    return std::make_shared<WinIconImage>(
        reinterpret_cast<std::uintptr_t>(::LoadIconA(nullptr, IDI_APPLICATION)), false);
}

HWND toHandle(std::uintptr_t window) {
    return reinterpret_cast<HWND>(window);
}

}  // namespace

WinTrayApplication::WinTrayApplication(std::string title) : title_(std::move(title)) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    registerWindowClass(instance);
    // A captioned popup of no size in the middle of the screen: only its taskbar button is
    // ever seen.
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    const HWND hwnd =
        ::CreateWindowExW(0, kWindowClass, wide(title_).c_str(),
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x,
                          y, 0, 0, nullptr, nullptr, instance, this);
    if (hwnd == nullptr) {
        throw std::runtime_error("Cannot create the application window");
    }
    window_ = reinterpret_cast<std::uintptr_t>(hwnd);
    setImage(programIcon(instance));
}

WinTrayApplication::~WinTrayApplication() {
    const HWND hwnd = toHandle(window_);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
}

void WinTrayApplication::loadIcon(const std::filesystem::path& file) {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(file, ec);
    const std::uintmax_t size = ec ? 0 : std::filesystem::file_size(file, ec);
    if (const auto it = loaded_.find(file);
        !ec && it != loaded_.end() && it->second.time == time && it->second.size == size) {
        setImage(it->second.image);
        return;
    }
    auto fresh = LoadIconFile(file, SmallIconSize());
    if (!ec) {
        loaded_[file] = LoadedIcon{time, size, fresh};
    } else {
        loaded_.erase(file);
    }
    setImage(std::move(fresh));
}

void WinTrayApplication::setImage(std::shared_ptr<const IconImage> image) {
    if (icon_.image() == image) {
        return;
    }
    icon_.setImage(std::move(image));
    ::SendMessageW(toHandle(window_), WM_SETICON, ICON_SMALL, static_cast<LPARAM>(icon_.Handle()));
}

bool WinTrayApplication::IsWindowVisible() const {
    return ::IsWindowVisible(toHandle(window_)) != FALSE;
}

void WinTrayApplication::ShowWindow(bool restore) {
    ::ShowWindow(toHandle(window_), restore ? SW_RESTORE : SW_HIDE);
}

void WinTrayApplication::run(const std::function<void()>& handler) {
    if (!handler) {
        return;
    }
    // A copy: the handler may replace itself.
    const std::function<void()> call = handler;
    const std::function<void(std::exception_ptr)> onError = onProcedureError_;
    try {
        call();
    } catch (...) {
        if (!onError) {
            std::terminate();
        }
        onError(std::current_exception());
    }
}

std::intptr_t WinTrayApplication::handleMessage(std::uint32_t message, std::uintptr_t wParam,
                                                std::intptr_t, bool& handled) {
    switch (message) {
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED && !minimized_) {
                minimized_ = true;
                ::PostMessageW(toHandle(window_), kNotifyMessage, 0, 0);
            } else if ((wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) && minimized_) {
                minimized_ = false;
                ::PostMessageW(toHandle(window_), kNotifyMessage, 1, 0);
            }
            return 0;
        case kNotifyMessage: {
            handled = true;
            run(wParam != 0 ? onRestore_ : onMinimize_);
            return 0;
        }
        case WM_CLOSE:
            handled = true;
            run(onClose_);
            return 0;
        case WM_QUERYENDSESSION:
            // The session may end; nothing here stands in its way.
            handled = true;
            return 1;
        case WM_ENDSESSION:
            handled = true;
            if (wParam != 0) {
                run(onEndSession_);
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace surftally
