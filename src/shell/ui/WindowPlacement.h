#pragma once
// Where the dialogs open.
class QWidget;

namespace korvane {

// Centres a dialog over the main window, kept on the main window's screen so that
// a dialog wider than the window does not open partly off screen.
void centreOver(QWidget& dialog, const QWidget* mainWindow);

}  // namespace korvane
