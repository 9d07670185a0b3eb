#pragma once
// The search-and-replace dialog: modeless and on top, so the user can go on
// editing while it is open. Closing it destroys it; it keeps nothing.
#include <QDialog>
#include <string>

#include "editor/Search.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {

class FrmRechercher : public QDialog {
    Q_OBJECT
public:
    // `langue` is the main window's interface language code.
    FrmRechercher(TextEditor& editor, PromptService& prompt, const std::string& langue, QWidget* parent = nullptr);

    QLabel* LblRechercher = nullptr;
    QLineEdit* TxtRechercher = nullptr;
    QLabel* LblRemplacer = nullptr;
    QLineEdit* TxtRemplacer = nullptr;
    QPushButton* CmdSuivant = nullptr;
    QPushButton* CmdRemplacer = nullptr;
    QPushButton* CmdAnnuler = nullptr;

private:
    void CmdSuivant_Click();
    void CmdRemplacer_Click();

    TextSearch search_;
};

}  // namespace korvane
