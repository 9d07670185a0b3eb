#include "shell/ui/WindowPlacement.h"

#include <QScreen>
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

}  // namespace korvane
