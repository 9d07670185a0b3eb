#pragma once
// What the catalogue and the palette share: a tool window docked to the main window
// (locked) or floating, toggled by its lock button, and closed through one path.
#include <QWidget>
#include <functional>

class QPushButton;

namespace korvane {

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    bool isLocked = true;
    QPushButton* CmdLock = nullptr;

    // Unlocked: stays where it is; locked: the main window docks it at once.
    void CmdLock_Click();
    void fermerForm();
    bool isClosing() const { return closing_; }

protected:
    // `redock` asks the main window to dock its locked tool windows; `closed` runs
    // once, when the window closes by its close box or by fermerForm.
    ToolWindow(const QString& lockCaption, std::function<void()> redock, std::function<void()> closed,
               QWidget* parent);
    void closeEvent(QCloseEvent* event) override;
    void redock();

private:
    std::function<void()> redock_;
    std::function<void()> closed_;
    bool closing_ = false;
};

}  // namespace korvane
