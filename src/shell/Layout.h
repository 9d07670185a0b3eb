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
    TwipsRect catalogue;    // outer frame
    bool paletteLocked = false;
    TwipsRect palette;      // outer frame
};

struct MainLayout {
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
