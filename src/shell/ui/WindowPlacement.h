#pragma once
// Where the dialogs, the tool windows and the main window go.
#include <memory>
#include <optional>
#include <string>

#include "shell/Layout.h"
#include "shell/Startup.h"
#include "shell/WindowHelpers.h"

class QWidget;

namespace korvane {

// Centres a dialog over the main window, kept on the main window's screen so that
// a dialog wider than the window does not open partly off screen.
void centreOver(QWidget& dialog, const QWidget* mainWindow);

// A top-level window's outer frame in twips, and placing it by its outer frame:
// position always, size where `withSize` (the frame's own measures are kept).
TwipsRect outerTwips(const QWidget& window);
void placeOuter(QWidget& window, const TwipsRect& twips, bool withSize = true);

// A main window that opens where the window of another running Korvane of the same
// settings file stands moves down and right by a title bar's height (as often as
// needed), so that it does not hide it. Its place is held for as long as the
// returned claim lives; `stored`, the geometry start-up restores again once the
// window is framed, takes the new place.
std::unique_ptr<PlaceClaim> claimOwnPlace(QWidget& window, const std::string& settingsFile,
                                          std::optional<WindowGeometry>& stored);

}  // namespace korvane
