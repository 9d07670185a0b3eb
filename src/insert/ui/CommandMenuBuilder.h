#pragma once
// Puts the six command menus into the main window's menu bar. Each leaf entry
// reports itself through a callback; the main window passes its text and caret
// offset on to ajoutText.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "insert/CommandMenus.h"

class QAction;
class QMenu;
class QMenuBar;

namespace korvane {

using MenuEntryHandler = std::function<void(const MenuEntry&)>;

// Builds the menus "Contrôle" to "Vertel" into `bar`, in order, before the menu
// whose action is `before` (the "Aide" menu; at the end when null). Every action
// is named after its entry; the items of an array also carry their index as data.
// Returns the top-level menus in menu-bar order.
std::vector<QMenu*> buildCommandMenus(QMenuBar* bar, QAction* before, const std::string& langue,
                                      MenuEntryHandler onEntry);

// Gives the top-level menus built above their captions in `langue`.
void retitleCommandMenus(const std::vector<QMenu*>& menus, const std::string& langue);

// A caption in calculator codes as a menu shows it ("&" kept as a plain character).
QString menuCaption(const std::string& calc);

}  // namespace korvane
