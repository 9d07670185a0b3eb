#pragma once
// Puts the texts of the language table on the controls of a window, found by
// their object names.
#include <QObject>
#include <functional>
#include <string>
#include <string_view>

class QMenuBar;
class QWidget;

namespace korvane {

// Sets every text of `windowName`'s rows on `window` (the title for a row without
// a control); a control that does not exist is skipped.
void applyLanguage(QWidget& window, std::string_view windowName, const std::string& langue);

// Gives `control` its accessible name of the table again, after its caption
// changed: a name that holds "%1" tells the caption (a configurable button is
// named by what it inserts).
void nameByCaption(QWidget& control, std::string_view windowName, const std::string& langue);

// Widens every label, check box, option button and push button of `window` that
// is narrower than its caption in its own font, keeping its left edge; a control
// that the widened label would then touch on its row moves right, and the window
// grows when a control would pass its right edge. Controls placed by a layout are
// left to it.
void fitCaptions(QWidget& window);

// Marks one letter of each menu title of the bar as its Alt key, the first letter
// that no menu before it took, so that every menu is reached from the keyboard.
void giveMenuMnemonics(QMenuBar& bar);

// True when the table has rows for a window of that name.
bool hasLanguageRows(std::string_view windowName);

// Gives every window of the table that is shown, opened later or reopened, the
// texts of the current language, before it appears.
class LanguageFollower : public QObject {
public:
    LanguageFollower(QObject* parent, std::function<std::string()> currentLangue);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<std::string()> currentLangue_;
};

}  // namespace korvane
