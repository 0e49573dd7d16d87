#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "forms/Toolkit.h"

namespace surftally {

class Win32Toolkit;

// The error report's box: a small topmost window with the error icon, the text and OK. It is
// not modal (no loop runs inside the handler that failed) and it appears without taking the
// focus from the field being typed in. OK, Enter, Escape and the close button close it.
class Win32MessageBox final : public MessageBoxPeer {
public:
    Win32MessageBox(Win32Toolkit& toolkit, std::function<void()> closed);
    ~Win32MessageBox() override;
    Win32MessageBox(const Win32MessageBox&) = delete;
    Win32MessageBox& operator=(const Win32MessageBox&) = delete;

    void show(const std::string& title, const std::string& text) override;
    void close() override;

    HWND handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    void layout();
    void paint(HDC dc);

    Win32Toolkit& toolkit_;
    std::function<void()> closed_;
    HWND hwnd_ = nullptr;
    HWND text_ = nullptr;
    HWND ok_ = nullptr;
    int dpi_ = 96;
};

}  // namespace surftally
