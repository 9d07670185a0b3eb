#pragma once
// The catalogue window: the commands of catalogue.dat, inserted at the caret on a
// click or Enter (keys only move the selection), docked against the main window's right edge or floating.
// A search field above the list keeps the entries whose name contains what is
// typed; the selected entry's syntax and description stand under the list.
#include <functional>
#include <string>
#include <vector>

#include "insert/ui/ToolWindow.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace korvane {

class FrmCatalogue : public ToolWindow {
    Q_OBJECT
public:
    // What the window needs from the main window.
    struct Host {
        std::function<void(const std::string& text, int caret)> ajoutText;
        std::function<void()> redock;
        std::function<void(const std::string& caption)> setCatalogButton;
        // The window is closing (its close box or fermerForm).
        std::function<void()> closed;
        // The interface language ("En" for English); French without it.
        std::function<std::string()> langue;
    };

    // `rows` are calculator codes, in file order.
    FrmCatalogue(Host host, const std::vector<std::string>& rows, QWidget* parent);

    // True while a right press selects its row: that selection inserts nothing.
    bool rightClickMode = false;

    QListWidget* LstCat = nullptr;
    QLineEdit* TxtCherche = nullptr;
    QLabel* LblAide = nullptr;

    // The search field's hint, the entries' tooltips and the selected entry's help,
    // in the current interface language.
    void refreshHelp();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LstCat_Click();
    std::string selectedText() const;
    // The client width that shows the title and the search field's hint whole.
    int widthForCaptions() const;
    void TxtCherche_Change();
    void showSelectedHelp();
    QString helpOf(const std::string& row) const;
    std::string langue() const;

    Host host_;
    std::vector<std::string> rows_;
    // A left press on a row: its release on the same row inserts it.
    int pressedRow_ = -1;
};

}  // namespace korvane
