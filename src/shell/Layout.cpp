#include "shell/Layout.h"

namespace korvane {

MainLayout layoutFor(const LayoutInput& in) {
    const TwipsRect& m = in.main;
    MainLayout l;
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
