#pragma once
// The save-as browser: where the Document goes and in which of the calculator
// file types. The path box holds the target when it closes.
#include <string>

#include "files/Document.h"
#include "files/ui/BrowserLists.h"

class QLabel;
class QPushButton;

namespace korvane {

class FrmEnregistrer : public BrowserDialog {
    Q_OBJECT
public:
    FrmEnregistrer(Settings& settings, PromptService& prompt, QWidget* mainWindow);

    // The type list for the kind setting, item 0 shown.
    void fillTypes(ProgramKind kind);
    // The name box's text when the browser opens.
    void proposeName(const QString& name);
    // The lists show `folder` (or stay where they are when it cannot be listed).
    void startIn(const QString& folder);

    void appliquerFr();
    void appliquerEn();

    QLabel* Label1 = nullptr;
    QLineEdit* TxtNom = nullptr;
    QLabel* LblType = nullptr;
    QComboBox* CboType = nullptr;
    QPushButton* CmdSelectOK = nullptr;
    QPushButton* CmdQuitter = nullptr;

public slots:
    // The close box and Escape: not confirmed, the closing step runs all the same.
    void reject() override;

private:
    void File1_Click();
    void File1_DblClick();
    void CmdSelectOK_Click();
    void CmdQuitter_Click();
    void closingStep();
    // The path box names the file that the name box, the type and the folder give.
    void showTarget();
    // The file whose replacement the user has already agreed to (a double-click).
    std::string replaceAgreed_;
};

}  // namespace korvane
