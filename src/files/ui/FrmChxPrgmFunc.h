#pragma once
// The question "program or function?" asked when a new Document is started.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace korvane {

class FrmChxPrgmFunc : public QDialog {
    Q_OBJECT
public:
    // `prgmFunc` and `openChxPrgmFunc` are the main window's settings, which the
    // dialog changes as the user answers.
    FrmChxPrgmFunc(bool& prgmFunc, bool& openChxPrgmFunc, QWidget* mainWindow);

    // Texts of the two languages.
    void appliquerFr();
    void appliquerEn();

    QRadioButton* Opt1[2] = {nullptr, nullptr};
    QCheckBox* Check1 = nullptr;
    QPushButton* CmdValider = nullptr;

private:
    void CmdValider_Click();

    bool& prgmFunc_;
    bool& openChxPrgmFunc_;
    QLabel* question_ = nullptr;
};

}  // namespace korvane
