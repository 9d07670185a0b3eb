#pragma once
// The search-and-replace dialog: modeless and on top, so the user can go on
// editing while it is open. Closing it destroys it; it keeps nothing.
#include <QDialog>
#include <functional>
#include <string>

#include "editor/Search.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {

class FrmRechercher : public QDialog {
    Q_OBJECT
public:
    // `langue` gives the main window's interface language code at any moment.
    FrmRechercher(TextEditor& editor, PromptService& prompt, std::function<std::string()> langue,
                  QWidget* parent = nullptr);

    // Captions and messages in the interface language of the moment.
    void applyCaptions();

    QLabel* LblRechercher = nullptr;
    QLineEdit* TxtRechercher = nullptr;
    QLabel* LblRemplacer = nullptr;
    QLineEdit* TxtRemplacer = nullptr;
    QPushButton* CmdSuivant = nullptr;
    QPushButton* CmdRemplacer = nullptr;
    QPushButton* CmdAnnuler = nullptr;
    QPushButton* CmdRemplacerTout = nullptr;

private:
    void CmdSuivant_Click();
    void CmdRemplacer_Click();
    void CmdRemplacerTout_Click();

    TextSearch search_;
    std::function<std::string()> langue_;
};

}  // namespace korvane
