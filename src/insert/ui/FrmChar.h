#pragma once
// The special-characters palette: 86 buttons of calculator characters in four
// groups, inserted at the caret on a click, docked below the main window or floating.
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "insert/Palette.h"
#include "insert/ui/ToolWindow.h"

class QLabel;

namespace korvane {

// A character button: a click inserts, a right press or a release off the button
// hands the character to the main window's button of its group.
class PaletteButton : public QPushButton {
    Q_OBJECT
public:
    PaletteButton(const QString& caption, bool assignsOnRelease, QWidget* parent);
    std::function<void()> assign;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool assignsOnRelease_;
};

class FrmChar : public ToolWindow {
    Q_OBJECT
public:
    struct Host {
        std::function<void(const std::string& text, int caret)> ajoutText;
        std::function<void()> redock;
        // The configurable button of `group` takes `caption` (calculator codes;
        // "&&" for the ampersand).
        std::function<void(PaletteGroup group, const std::string& caption)> assign;
        std::function<void()> closed;
    };

    FrmChar(Host host, QWidget* parent);



    // The character buttons by group, left to right and row by row, and the
    // ampersand's own button.
    std::vector<PaletteButton*> CmdCharGreek;
    std::vector<PaletteButton*> CmdCharMath;
    std::vector<PaletteButton*> CmdPonctuation;
    std::vector<PaletteButton*> CmdCharSpecial;
    PaletteButton* CmdPonctuation_ = nullptr;
    // Every character button in table order, the ampersand's included.
    std::vector<PaletteButton*> buttons;

protected:

private:
    Host host_;
};

}  // namespace korvane
