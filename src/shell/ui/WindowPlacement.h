#pragma once
// Where the dialogs and the tool windows go.
#include "shell/Layout.h"

class QWidget;

namespace korvane {

// Centres a dialog over the main window, kept on the main window's screen so that
// a dialog wider than the window does not open partly off screen.
void centreOver(QWidget& dialog, const QWidget* mainWindow);

// A top-level window's outer frame in twips, and placing it by its outer frame:
// position always, size where `withSize` (the frame's own measures are kept).
TwipsRect outerTwips(const QWidget& window);
void placeOuter(QWidget& window, const TwipsRect& twips, bool withSize = true);

}  // namespace korvane
