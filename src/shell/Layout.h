#pragma once
// The main window's layout routine as a function of the geometries, in twips: what
// stretches with the window, where the locked tool windows go, and the minimum
// width. Window widths and heights are outer measures, frame included.
#include <optional>

namespace korvane {

constexpr int kTwipsPerPixel = 15;
constexpr int kMinimumWindowWidth = 5340;
constexpr int kEditorTop = 2160;
// Below this height the editor keeps its height.
constexpr int kEditorMargin = 3200;

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipsRect&) const = default;
};

struct LayoutInput {
    TwipsRect main;         // the main window, outer frame
    int editorHeight = 0;   // the editor's present height
    bool catalogueLocked = false;
    bool catalogueShown = false;
    TwipsRect catalogue;    // outer frame
    bool paletteLocked = false;
    bool paletteShown = false;
    TwipsRect palette;      // outer frame
    // The screen's area for windows (without panels), when known.
    std::optional<TwipsRect> screen;
};

struct TwipsSize {
    int width = 0;
    int height = 0;
    bool operator==(const TwipsSize&) const = default;
};

struct MainLayout {
    // The main window's outer frame when it must change so that its shown docked
    // tool windows stay wholly on the screen: a window as large as the screen
    // (maximised, or made so) gives up their width at its right and their height
    // at its bottom. Everything below is laid out for this frame.
    std::optional<TwipsRect> main;
    // The largest outer size that leaves that room on the screen; none when no
    // shown docked window needs room (or the screen is unknown).
    std::optional<TwipsSize> largest;
    int editorWidth = 0;
    int stripWidth = 0;
    int nameFieldWidth = 0;
    std::optional<int> editorHeight;     // unchanged when the window is too low
    std::optional<TwipsRect> catalogue;  // new place of a locked catalogue
    std::optional<TwipsRect> palette;    // new place of a locked palette
    std::optional<int> widenTo;          // the window is narrower than the minimum
    int progressTop = 0;
};

// One run of the layout routine.
MainLayout layoutFor(const LayoutInput& in);

// A click on the main window's own surface puts a locked catalogue back against
// its right edge, top-aligned, without changing its height.
std::optional<TwipsRect> catalogueAfterSurfaceClick(const LayoutInput& in);

}  // namespace korvane
