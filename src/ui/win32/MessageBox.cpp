#include "ui/win32/MessageBox.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/Dpi.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

namespace surftally {

namespace {

constexpr int kOk = 1;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

TFont messageFont() {
    return {{"Segoe UI", "Tahoma"}, 12, false, 0};
}

}  // namespace

Win32MessageBox::Win32MessageBox(Win32Toolkit& toolkit, std::function<void()> closed)
    : toolkit_(toolkit), closed_(std::move(closed)) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    hwnd_ = ::CreateWindowExW(kExStyle, Win32Toolkit::kMessageClass, L"", kStyle, 0, 0, 0, 0,
                              toolkit.owner(), nullptr, instance, nullptr);
    text_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                              0, 0, 0, hwnd_, nullptr, instance, nullptr);
    ok_ = ::CreateWindowExW(
        0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOk)), instance, nullptr);
    ::SetWindowSubclass(hwnd_, procedure, 1, reinterpret_cast<DWORD_PTR>(this));
    dpi_ = Win32Dpi::ForWindow(hwnd_);
    toolkit_.addDialog(hwnd_);
    toolkit_.addMessageBox(hwnd_);
}

Win32MessageBox::~Win32MessageBox() {
    toolkit_.removeDialog(hwnd_);
    toolkit_.removeMessageBox(hwnd_);
    ::RemoveWindowSubclass(hwnd_, procedure, 1);
    ::DestroyWindow(hwnd_);
}

void Win32MessageBox::layout() {
    const auto scale = [this](int pixels) { return Win32Dpi::Scale(pixels, dpi_); };
    const HFONT font = toolkit_.fonts().get(messageFont(), dpi_);
    ::SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageW(ok_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(text_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(text_, text.data(), static_cast<int>(text.size()))));
    RECT measured{0, 0, scale(360), 0};
    const HDC dc = ::GetDC(hwnd_);
    const HGDIOBJ old = ::SelectObject(dc, font);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd_, dc);

    const int margin = scale(12);
    const int icon = scale(32);
    const int textWidth = std::max<int>(measured.right, scale(120));
    const int textHeight = std::max<int>(measured.bottom, icon);
    const int buttonWidth = scale(75);
    const int buttonHeight = scale(23);
    const int width = margin + icon + margin + textWidth + margin;
    const int height = margin + textHeight + margin + buttonHeight + margin;
    ::MoveWindow(text_, margin + icon + margin, margin + (textHeight - measured.bottom) / 2,
                 textWidth, measured.bottom, TRUE);
    ::MoveWindow(ok_, (width - buttonWidth) / 2, height - margin - buttonHeight, buttonWidth,
                 buttonHeight, TRUE);

    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT rect{0, 0, width, height};
    Win32Dpi::AdjustWindowRect(rect, kStyle, kExStyle, dpi_);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    ::SetWindowPos(hwnd_, HWND_TOPMOST, work.left + (work.right - work.left - w) / 2,
                   work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOACTIVATE);
}

void Win32MessageBox::paint(HDC dc) {
    const int size = Win32Dpi::Scale(32, dpi_);
    const int margin = Win32Dpi::Scale(12, dpi_);
    const HICON icon = ::LoadIconA(nullptr, IDI_ERROR);
    ::DrawIconEx(dc, margin, margin, icon, size, size, 0, nullptr, DI_NORMAL);
}

void Win32MessageBox::show(const std::string& title, const std::string& text) {
    ::SetWindowTextW(hwnd_, Wide(title).c_str());
    ::SetWindowTextW(text_, Wide(text).c_str());
    layout();
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32MessageBox::close() {
    if (!::IsWindowVisible(hwnd_)) {
        return;
    }
    ::ShowWindow(hwnd_, SW_HIDE);
    // The reporter may show the next text in this box from here.
    const std::function<void()> closed = closed_;
    closed();
}

LRESULT CALLBACK Win32MessageBox::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32MessageBox*>(data);
    switch (message) {
        case WM_COMMAND:
            // OK, and Enter or Escape while the box has the focus.
            if (LOWORD(wParam) == kOk || LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                self->close();
            }
            return 0;
        case WM_CLOSE:
            self->close();
            return 0;
        case WM_ACTIVATE:
            // Activated by the user: OK takes the focus, so Enter, Escape and Space close it.
            if (LOWORD(wParam) != WA_INACTIVE) {
                ::SetFocus(self->ok_);
                return 0;
            }
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(hwnd, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = ::BeginPaint(hwnd, &ps);
            self->paint(dc);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_DPICHANGED: {
            // Laid out anew for the monitor's DPI, where the system suggests.
            self->dpi_ = HIWORD(wParam);
            self->layout();
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top,
                           suggested.right - suggested.left, suggested.bottom - suggested.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        default:
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace surftally
