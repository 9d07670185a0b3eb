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

protected:
    // A click or the focus on the path box selects its text: what is typed replaces it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void File1_Click();
    void CmdSelectOK_Click();
    void CmdQuitter_Click();
};

}  // namespace korvane
