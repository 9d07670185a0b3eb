#include "shell/ui/WindowPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace korvane {

void centreOver(QWidget& dialog, const QWidget* mainWindow) {
    if (!mainWindow) return;
    const QRect main = mainWindow->frameGeometry();
    int left = main.left() + (main.width() - dialog.width()) / 2;
    int top = main.top() + (main.height() - dialog.height()) / 2;
    if (const QScreen* screen = mainWindow->screen()) {
        const QRect area = screen->availableGeometry();
        left = std::clamp(left, area.left(), std::max(area.left(), area.right() - dialog.width()));
        top = std::clamp(top, area.top(), std::max(area.top(), area.bottom() - dialog.height()));
    }
    dialog.move(left, top);
}

TwipsRect outerTwips(const QWidget& window) {
    const QRect f = window.frameGeometry();
    return {f.left() * kTwipsPerPixel, f.top() * kTwipsPerPixel, f.width() * kTwipsPerPixel,
            f.height() * kTwipsPerPixel};
}

void placeOuter(QWidget& window, const TwipsRect& twips, bool withSize) {
    // move() places a window's frame; resize() sizes its client area.
    const QSize frame = window.frameGeometry().size() - window.size();
    if (withSize)
        window.resize(std::max(1, twips.width / kTwipsPerPixel - frame.width()),
                      std::max(1, twips.height / kTwipsPerPixel - frame.height()));
    window.move(twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel);
}

std::unique_ptr<PlaceClaim> claimOwnPlace(QWidget& window, const std::string& settingsFile,
                                          std::optional<WindowGeometry>& stored) {
    auto claim = std::make_unique<PlaceClaim>(placeFolder(), settingsFile);
    const TwipsRect outer = outerTwips(window);
    TwipsRect area = outer;
    if (const QScreen* screen = window.screen()) {
        const QRect a = screen->availableGeometry();
        area = {a.left() * kTwipsPerPixel, a.top() * kTwipsPerPixel, a.width() * kTwipsPerPixel, a.height() * kTwipsPerPixel};
    }
    // The frame's title bar once the window manager has framed it, else the style's.
    const int titleBar = std::max(window.geometry().top() - window.frameGeometry().top(),
                                  window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window));
    const WindowPlace place =
        freePlace(outer, area, std::max(1, titleBar) * kTwipsPerPixel, [&](WindowPlace p) { return claim->held(p); });
    claim->take(place);
    if (place.left != outer.left || place.top != outer.top) {
        placeOuter(window, {place.left, place.top, outer.width, outer.height}, false);
        if (stored) {
            stored->left = static_cast<float>(place.left);
            stored->top = static_cast<float>(place.top);
        }
    }
    return claim;
}

}  // namespace korvane
