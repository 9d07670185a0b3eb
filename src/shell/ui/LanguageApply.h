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
