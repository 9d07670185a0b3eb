#include "files/ui/FrmChxPrgmFunc.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/ui/WindowPlacement.h"

namespace korvane {

FrmChxPrgmFunc::FrmChxPrgmFunc(bool& prgmFunc, bool& openChxPrgmFunc, QWidget* mainWindow)
    : QDialog(mainWindow), prgmFunc_(prgmFunc), openChxPrgmFunc_(openChxPrgmFunc) {
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    question_ = new QLabel(this);
    question_->setWordWrap(true);
    layout->addWidget(question_);
    for (auto*& opt : Opt1) {
        opt = new QRadioButton(this);
        layout->addWidget(opt);
    }
    Check1 = new QCheckBox(this);
    layout->addWidget(Check1);
    CmdValider = new QPushButton(this);
    CmdValider->setDefault(true);
    layout->addWidget(CmdValider);
    appliquerFr();
    setFixedSize(330, 170);

    // "Programme" is offered every time, whatever kind was chosen before.
    Opt1[0]->setChecked(true);
    Check1->setChecked(!openChxPrgmFunc_);
    connect(Check1, &QCheckBox::clicked, this, [this] { openChxPrgmFunc_ = !Check1->isChecked(); });
    connect(CmdValider, &QPushButton::clicked, this, &FrmChxPrgmFunc::CmdValider_Click);

    centreOver(*this, mainWindow);
}

void FrmChxPrgmFunc::appliquerFr() {
    setWindowTitle(QStringLiteral("Prgm ou Fonction ?"));
    question_->setText(QStringLiteral("Vous désirez commencer un nouveau Programme ou une nouvelle Fonction ?"));
    Opt1[0]->setText(QStringLiteral("Programme"));
    Opt1[1]->setText(QStringLiteral("Fonction"));
    Check1->setText(QStringLiteral("Ne plus afficher."));
    CmdValider->setText(QStringLiteral("O K"));
}

void FrmChxPrgmFunc::appliquerEn() {
    setWindowTitle(QStringLiteral("Prgm or Function ?"));
    question_->setText(QStringLiteral("You wish to begin a new Program or a new Function? "));
    Opt1[0]->setText(QStringLiteral("Program"));
    Opt1[1]->setText(QStringLiteral("Function"));
    Check1->setText(QStringLiteral("Not to show more."));
    CmdValider->setText(QStringLiteral("O K"));
}

void FrmChxPrgmFunc::CmdValider_Click() {
    prgmFunc_ = Opt1[0]->isChecked();
    accept();
}

}  // namespace korvane
