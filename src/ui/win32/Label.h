#pragma once

#include "ui/win32/Painted.h"

namespace surftally {

// A label drawn by the toolkit: its text in its font and colour, on its own background when
// opaque. Pointer moves, the pointer leaving (TrackMouseEvent) and left clicks go to the
// control.
class Win32Label : public Win32Painted {
public:
    Win32Label(Win32Toolkit& toolkit, TControl& control);

    void paint(HDC dc) const override;

protected:
    bool handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool tracking_ = false;
    bool pressed_ = false;
};

}  // namespace surftally
