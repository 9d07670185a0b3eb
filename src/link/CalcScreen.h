#pragma once
// The calculator's screen as the link gives it (240 x 128 pixels, one bit each, on
// every model) and its picture as a PNG file. Toolkit-free: no library headers here.
#include <cstdint>
#include <vector>

#include "files/VariableFile.h"
#include "link/LinkOptions.h"

namespace korvane::link {

struct Screen {
    static constexpr int kWidth = 240, kHeight = 128, kRowBytes = 30;
    std::vector<std::uint8_t> bits;  // kRowBytes * kHeight bytes, most significant bit leftmost, 1 = dark
    // Whether pixel (x, y) is dark; false outside the screen or past the bits held.
    bool dark(int x, int y) const;
};

struct ScreenSize {
    int width;
    int height;
};

// What the model shows of the screen: 160 x 100 for the TI-89 and TI-89 Titanium,
// 240 x 128 for the TI-92 Plus and Voyage 200.
ScreenSize visibleScreen(Calc calc);

// A PNG of the top-left width x height pixels (clamped to the screen): 1-bit black on
// white, or 8-bit greyscale.
Bytes screenPng(const Screen& screen, ScreenSize size, bool greyscale = false);

}  // namespace korvane::link
