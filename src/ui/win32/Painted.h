#pragma once

#include <initializer_list>
#include <vector>

#include "ui/win32/Control.h"

namespace surftally {

// A control the toolkit draws itself (a label, a picture, a group box): its window paints
// through paint(), and the properties it shows redraw it.
class Win32Painted : public Win32Control {
public:
    // Draws the control into a device context of its size.
    virtual void paint(HDC dc) const = 0;

protected:
    Win32Painted(Win32Toolkit& toolkit, TControl& control, const wchar_t* className, DWORD style,
                 DWORD exStyle, std::initializer_list<Property> shown);

    void apply(Property property) override;
    bool handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::vector<Property> shown_;
};

}  // namespace surftally
