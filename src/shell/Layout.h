#pragma once
// The main window's layout: what stretches with the window, in twips.
#include <optional>

namespace korvane {

constexpr int kTwipsPerPixel = 15;
constexpr int kMinimumWindowWidth = 5340;
constexpr int kEditorTop = 2160;

struct MainLayout {
    int editorWidth = 0;
    int stripWidth = 0;
    int nameFieldWidth = 0;
    std::optional<int> editorHeight;  // unchanged when the window is too low
    int progressTop = 0;
};

// The layout for an outer window of `width` x `height` twips whose editor is now
// `editorHeight` twips high. A window narrower than the minimum is widened by the
// caller (the minimum width of the window), which then lays out again.
MainLayout layoutFor(int width, int height, int editorHeight);

}  // namespace korvane
