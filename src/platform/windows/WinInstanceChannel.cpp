#include "platform/windows/WinInstanceChannel.h"

#include <windows.h>

#include <cwctype>

namespace surftally {

namespace {

constexpr const wchar_t* kClass = WinInstanceChannel::kClass;
constexpr UINT kBringBack = WM_APP + 1;
constexpr LRESULT kAnswer = 0x5354;  // "ST": the request was taken

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kBringBack) {
        auto* channel =
            reinterpret_cast<WinInstanceChannel*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        return channel != nullptr && channel->request() ? kAnswer : 0;
    }
    if (message == WinInstanceChannel::kCloseRequest) {
        if (auto* channel =
                reinterpret_cast<WinInstanceChannel*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            channel->closeRequest();
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The folder as one text whatever way it was written: absolute, with backslashes, in lower
// case (Windows' file names are not case-sensitive).
std::wstring nameOf(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::weakly_canonical(folder, ec);
    if (ec) {
        absolute = std::filesystem::absolute(folder, ec);
    }
    std::wstring name = absolute.make_preferred().wstring();
    while (name.size() > 3 && name.back() == L'\\') {
        name.pop_back();
    }
    for (wchar_t& c : name) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return L"Surftally " + name;
}

}  // namespace

WinInstanceChannel::WinInstanceChannel(const std::filesystem::path& folder)
    : name_(nameOf(folder)) {}

WinInstanceChannel::~WinInstanceChannel() {
    if (watcher_.joinable()) {
        ::SetEvent(static_cast<HANDLE>(stop_));
        watcher_.join();
    }
    if (stop_ != nullptr) {
        ::CloseHandle(static_cast<HANDLE>(stop_));
    }
    if (window_ != nullptr) {
        const HWND hwnd = static_cast<HWND>(window_);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd);
    }
}

bool WinInstanceChannel::listen(std::function<void()> onRequest, std::function<void()> onClose) {
    onRequest_ = std::move(onRequest);
    onClose_ = std::move(onClose);
    if (window_ != nullptr) {
        return true;
    }
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClass;
        return ::RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    const HWND hwnd = ::CreateWindowExW(0, kClass, name_.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = hwnd;
    watch(hwnd);
    return true;
}

void WinInstanceChannel::watch(void* window) {
    stop_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stop_ == nullptr) {
        return;
    }
    const HANDLE stop = static_cast<HANDLE>(stop_);
    const HWND hwnd = static_cast<HWND>(window);
    watcher_ = std::thread([stop, hwnd] {
        for (;;) {
            // The event exists only while an installer closes the programs.
            if (const HANDLE request = ::OpenEventW(SYNCHRONIZE, FALSE, kCloseEvent)) {
                const HANDLE both[] = {stop, request};
                const DWORD woken = ::WaitForMultipleObjects(2, both, FALSE, INFINITE);
                ::CloseHandle(request);
                if (woken == WAIT_OBJECT_0 + 1) {
                    ::PostMessageW(hwnd, kCloseRequest, 0, 0);
                }
                return;
            }
            if (::WaitForSingleObject(stop, 1000) != WAIT_TIMEOUT) {
                return;
            }
        }
    });
}

bool WinInstanceChannel::request() {
    if (!onRequest_) {
        return false;
    }
    // A copy: the handler may replace itself.
    const std::function<void()> handler = onRequest_;
    handler();
    return true;
}

void WinInstanceChannel::closeRequest() {
    if (onClose_) {
        const std::function<void()> handler = onClose_;
        handler();
    }
}

bool WinInstanceChannel::ask(int timeoutMs) const {
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    HWND running = nullptr;
    while ((running = ::FindWindowExW(HWND_MESSAGE, nullptr, kClass, name_.c_str())) == nullptr) {
        if (::GetTickCount64() >= deadline) {
            return false;
        }
        ::Sleep(50);
    }
    const ULONGLONG now = ::GetTickCount64();
    const UINT left = now < deadline ? static_cast<UINT>(deadline - now) : 1;
    // The running program may bring its window to the front.
    DWORD process = 0;
    ::GetWindowThreadProcessId(running, &process);
    ::AllowSetForegroundWindow(process);
    DWORD_PTR answer = 0;
    const LRESULT sent =
        ::SendMessageTimeoutW(running, kBringBack, 0, 0, SMTO_ABORTIFHUNG, left, &answer);
    return sent != 0 && answer == static_cast<DWORD_PTR>(kAnswer);
}

}  // namespace surftally
