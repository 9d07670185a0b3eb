#pragma once
// The six command menus of the menu bar ("Contrôle", "I/O", "Var", "Mode",
// "Flib", "Vertel"): ready-made pieces of program text, each leaf inserted at the
// caret through ajoutText with its own caret offset.
#include <string>
#include <vector>

namespace korvane {

// One entry of a command menu. Captions and texts are calculator codes.
struct MenuEntry {
    // The entry's name in the program (`fctFor`); the items of an array share the
    // array's name and differ by `index`.
    std::string name;
    // 1-based position of an array item, 0 for an entry that is not in an array.
    int index = 0;
    std::string caption;
    // What a leaf inserts and where the caret goes, counted from the insertion point.
    std::string text;
    int caret = 0;
    // The entries of a submenu; a submenu inserts nothing itself.
    std::vector<MenuEntry> submenu;

    bool isSubmenu() const { return !submenu.empty(); }
};

struct CommandMenu {
    std::string name;
    std::string captionFr;
    std::string captionEn;
    std::vector<MenuEntry> entries;
};

// The six menus in menu-bar order, built once from their tables.
const std::vector<CommandMenu>& commandMenus();

// The caption of a command menu for the interface language `langue` ("Fr" or
// "En"); only "Contrôle" has an English caption of its own.
const std::string& commandMenuCaption(const CommandMenu& menu, const std::string& langue);

}  // namespace korvane
