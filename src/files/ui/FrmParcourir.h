#pragma once
// The open browser: the path box holds the file last selected in the list.
#include "files/ui/BrowserLists.h"

class QPushButton;

namespace korvane {

class FrmParcourir : public BrowserDialog {
    Q_OBJECT
public:
    FrmParcourir(Settings& settings, PromptService& prompt, QWidget* mainWindow);

    void appliquerFr();
    void appliquerEn();

    QPushButton* CmdSelectOK = nullptr;
    QPushButton* CmdQuitter = nullptr;

public slots:
    // The close box and Escape count as "Quitter".
    void reject() override;

private:
    void File1_Click();
    void CmdSelectOK_Click();
    void CmdQuitter_Click();
};

}  // namespace korvane
