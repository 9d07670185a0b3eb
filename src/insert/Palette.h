#pragma once
// The special-characters palette: its 86 character buttons in rows and groups, and
// the rule that turns a release off a button into an assignment. Geometry in twips.
#include <span>
#include <string_view>

namespace korvane {

// Each group feeds one configurable button of the main window's tool strip.
enum class PaletteGroup { Greek, Math, Ponctuation, Special };

struct PaletteKey {
    unsigned char code;
    PaletteGroup group;
    int row;     // 0 to 6, from the top
    int column;  // 0 from the left
    std::string_view name;  // the character's name, for the tooltip
};

inline constexpr int kPaletteButtonSize = 375;
inline constexpr int kPaletteFirstLeft = 960;
inline constexpr int kPaletteStep = 360;
inline constexpr int kPaletteClientWidth = 6375;
inline constexpr int kPaletteClientHeight = 2760;
inline constexpr int kPaletteLockTop = 2520;
inline constexpr int kPaletteLockHeight = 255;
// The ampersand has its own control: a caption holds it as "&&".
inline constexpr unsigned char kAmpersand = 38;

// The 86 buttons, row by row, left to right.
std::span<const PaletteKey> paletteKeys();

inline constexpr int paletteLeft(const PaletteKey& k) { return kPaletteFirstLeft + k.column * kPaletteStep; }
inline constexpr int paletteTop(const PaletteKey& k) { return k.row * kPaletteStep; }

// The group labels at the window's left edge: caption and top.
struct PaletteLabel {
    std::string_view caption;
    int top;
};
std::span<const PaletteLabel> paletteLabels();

// A release at (x, y) twips from a character button's top left assigns its
// character when it lies off the button (the fixed size 375, edges included).
constexpr bool releaseAssigns(int x, int y) {
    return y < 0 || y > kPaletteButtonSize || x < 0 || x > kPaletteButtonSize;
}

}  // namespace korvane
