#pragma once
// The catalogue window: the commands of catalogue.dat, inserted at the caret on a
// click or Enter (keys only move the selection), docked against the main window's right edge or floating.
#include <functional>
#include <string>
#include <vector>

#include "insert/ui/ToolWindow.h"

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
    };

    // `rows` are calculator codes, in file order.
    FrmCatalogue(Host host, const std::vector<std::string>& rows, QWidget* parent);

    // True while a right press selects its row: that selection inserts nothing.
    bool rightClickMode = false;

    QListWidget* LstCat = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LstCat_Click();
    std::string selectedText() const;

    Host host_;
    // A left press on a row: its release on the same row inserts it.
    int pressedRow_ = -1;
};

}  // namespace korvane
