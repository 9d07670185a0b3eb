#include "shell/Layout.h"

#include <algorithm>

namespace korvane {

namespace {

// The room that the shown docked windows take beside and below the main window.
TwipsSize dockedRoom(const LayoutInput& in) {
    TwipsSize room;
    if (in.catalogueLocked && in.catalogueShown) room.width = in.catalogue.width;
    if (in.paletteLocked && in.paletteShown) room.height = in.palette.height;
    return room;
}

}  // namespace

MainLayout layoutFor(const LayoutInput& in) {
    MainLayout l;
    TwipsRect m = in.main;
    const TwipsSize room = dockedRoom(in);
    if (in.screen && (room.width > 0 || room.height > 0)) {
        const TwipsRect& area = *in.screen;
        // Never narrower than the minimum width, even on a screen too small for both.
        l.largest = TwipsSize{std::max(kMinimumWindowWidth, area.width - room.width),
                              std::max(1, area.height - room.height)};
        if (m.width > l.largest->width || m.height > l.largest->height) {
            m.width = std::min(m.width, l.largest->width);
            m.height = std::min(m.height, l.largest->height);
            // Within the area, with the docked windows' room right of it and under it.
            m.left = std::max(area.left, std::min(m.left, area.left + area.width - room.width - m.width));
            m.top = std::max(area.top, std::min(m.top, area.top + area.height - room.height - m.height));
            l.main = m;
        }
    }
    l.editorWidth = m.width - 400;
    l.stripWidth = m.width;
    l.nameFieldWidth = l.editorWidth;
    if (m.height > kEditorMargin) l.editorHeight = m.height - kEditorMargin;
    // The catalogue stands against the right edge, as tall as the window; the
    // palette under it, left edges aligned. Neither changes width.
    if (in.catalogueLocked) l.catalogue = TwipsRect{m.left + m.width, m.top, in.catalogue.width, m.height};
    if (in.paletteLocked)
        l.palette = TwipsRect{m.left, m.top + m.height, in.palette.width, in.palette.height};
    if (m.width < kMinimumWindowWidth) l.widenTo = kMinimumWindowWidth;
    l.progressTop = kEditorTop + l.editorHeight.value_or(in.editorHeight) + 70;
    return l;
}

std::optional<TwipsRect> catalogueAfterSurfaceClick(const LayoutInput& in) {
    if (!in.catalogueLocked) return std::nullopt;
    return TwipsRect{in.main.left + in.main.width, in.main.top, in.catalogue.width, in.catalogue.height};
}

}  // namespace korvane
