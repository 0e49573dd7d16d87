#pragma once

#include "accounting/Colours.h"
#include "forms/TControl.h"

namespace surftally {

// The display strip's look, read by the strip, the help window's sample pictures and both
// toolkits' drawing of them.
namespace StripLook {

// The strip alone, and with the status strip docked beneath it.
inline constexpr int kWidth = 120;
inline constexpr int kHeight = 25;
inline constexpr int kStatusHeight = 13;
inline constexpr int kStatusShownHeight = 37;

// A two-pixel grey frame around the display: a lighter outer ring, a darker inner one.
inline constexpr int kFrameWidth = 2;
inline constexpr Colour kOuterFrame = 0x999999;
inline constexpr Colour kInnerFrame = 0x7F7F7F;

// The display inside the frame.
inline constexpr TRect DisplayBounds{kFrameWidth, kFrameWidth, kWidth - 2 * kFrameWidth,
                                     kHeight - 2 * kFrameWidth};

inline TFont DisplayFont() {
    return {{"MS Sans Serif"}, 16, true, clYellow};
}
inline TFont StatusFont() {
    return {{"Verdana"}, 11, true, clYellow};
}

}  // namespace StripLook

}  // namespace surftally
