#pragma once

#include <cstdint>

namespace surftally {

// Standard colours as 0x00BBGGRR values.
using Colour = std::uint32_t;

constexpr Colour clBlack = 0x000000;
constexpr Colour clMaroon = 0x000080;
constexpr Colour clGreen = 0x008000;
constexpr Colour clNavy = 0x800000;
constexpr Colour clRed = 0x0000FF;
constexpr Colour clYellow = 0x00FFFF;
constexpr Colour clWhite = 0xFFFFFF;
constexpr Colour clBlue = 0xFF0000;

constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

}  // namespace surftally
