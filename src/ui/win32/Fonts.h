#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "forms/TControl.h"

namespace surftally {

// The GDI fonts of the controls, made once per face, size, weight and DPI and kept for the
// life of the toolkit.
class Win32Fonts {
public:
    Win32Fonts() = default;
    ~Win32Fonts();
    Win32Fonts(const Win32Fonts&) = delete;
    Win32Fonts& operator=(const Win32Fonts&) = delete;

    // The first of the font's families that the system has, or else a sans-serif, at the
    // font's pixel size scaled to the DPI. A bitmap face (MS Sans Serif) is taken only at
    // 96 DPI, where its pixels are the design's; scaled it would be blurred or jagged.
    HFONT get(const TFont& font, int dpi);
    // The face that get() chose.
    std::wstring face(const TFont& font, int dpi);

private:
    enum class Kind { Missing, Bitmap, Scalable };
    Kind kindOf(const std::wstring& family);

    std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts_;
    std::map<std::wstring, Kind> families_;
};

}  // namespace surftally
