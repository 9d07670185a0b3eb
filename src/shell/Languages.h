#pragma once
// The interface texts of both languages as one table: the 54 texts that
// appliquerFr and appliquerEn assign, then the captions Korvane adds to the
// menus. Texts are UTF-8.
#include <span>
#include <string>
#include <string_view>

namespace korvane {

struct LanguageText {
    std::string_view window;   // the window's name, e.g. "FrmOption"
    std::string_view control;  // the control's name; empty for the window title
    int index;                 // element of a control array, 0 otherwise
    std::string_view french;
    std::string_view english;
};

// The 54 rows, in the order in which both procedures assign them.
std::span<const LanguageText> languageTable();
// Captions of entries added beyond the 54 (undo, redo, syntax check, import, print
// dialog's colour label...), in both languages.
std::span<const LanguageText> addedCaptions();

// The names that screen readers read for controls without a caption of their
// own, in both languages; with `tooltip`, also the control's tooltip.
struct AccessibleText {
    std::string_view window;
    std::string_view control;
    std::string_view french;
    std::string_view english;
    bool tooltip;
};
std::span<const AccessibleText> accessibleTexts();

// Tooltips that say more than the control's name, in both languages (index 0).
std::span<const LanguageText> toolTipTexts();

// English when `langue` is exactly "En", French for anything else.
bool isEnglish(const std::string& langue);
std::string_view textOf(const LanguageText& row, const std::string& langue);

// The text of one control in `langue`, looked up in both tables; empty when the
// control has no row.
std::string languageText(std::string_view window, std::string_view control, int index, const std::string& langue);

// The program's version, "1.1.90", and the about box's line, "Version 1.1.90".
std::string versionNumber();
std::string versionText();

}  // namespace korvane
