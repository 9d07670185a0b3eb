#pragma once
// The options dialog: interface language, default kind of a new document and
// whether that kind is asked each time.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace korvane {

class FrmP;
class LinkOptionsGroup;

class FrmOption : public QDialog {
    Q_OBJECT
public:
    explicit FrmOption(FrmP& mainWindow);

    QLabel* LblLangage = nullptr;
    QComboBox* CboLangage = nullptr;
    QLabel* LblParam = nullptr;
    QRadioButton* Opt1[2] = {nullptr, nullptr};
    QCheckBox* Check1 = nullptr;
    QPushButton* CmdAppliquer = nullptr;
    QPushButton* CmdFermer = nullptr;

    // Help while writing: its own row above the buttons.
    QCheckBox* ChkDigraphes = nullptr;
    // Calculator, cable and port of the link, and the screen after Send and run,
    // stored by "OK".
    LinkOptionsGroup* FraLiaison = nullptr;

private:
    void CboLangage_Click();
    void CmdAppliquer_Click();

    FrmP& main_;
};

}  // namespace korvane
