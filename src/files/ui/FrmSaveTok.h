#pragma once
// The save-mode dialog: save or not, tokenized or text form. It is hidden, not
// destroyed, after "Oui" or "Non", so the mode chosen stays for the next save.
#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace korvane {

class FrmSaveTok : public QDialog {
    Q_OBJECT
public:
    explicit FrmSaveTok(QWidget* mainWindow);

    // Loading, on first use and after the close box or Escape: tokenized mode
    // selected, not confirmed, centred over the main window.
    void loadIfNeeded();

    // Texts of the two languages.
    void appliquerFr();
    void appliquerEn();

    bool tokenize = true;
    bool confirmed = false;

    QLabel* Label1 = nullptr;
    QRadioButton* Option1[2] = {nullptr, nullptr};
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdStop = nullptr;

public slots:
    // The close box and Escape unload the dialog, which counts as "Non".
    void reject() override;

private:
    QWidget* mainWindow_;
    bool loaded_ = false;
};

}  // namespace korvane
