#include "files/ui/FrmChxPrgmFunc.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/ui/LanguageApply.h"
#include "shell/ui/WindowPlacement.h"

namespace korvane {

FrmChxPrgmFunc::FrmChxPrgmFunc(bool& prgmFunc, bool& openChxPrgmFunc, QWidget* mainWindow)
    : QDialog(mainWindow), prgmFunc_(prgmFunc), openChxPrgmFunc_(openChxPrgmFunc) {
    setObjectName(QStringLiteral("FrmChxPrgmFunc"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    question_ = new QLabel(this);
    question_->setObjectName(QStringLiteral("Label1"));
    question_->setWordWrap(true);
    layout->addWidget(question_);
    for (auto*& opt : Opt1) {
        opt = new QRadioButton(this);
        opt->setObjectName(QStringLiteral("Opt1"));
        layout->addWidget(opt);
    }
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(Check1);
    CmdValider = new QPushButton(QStringLiteral("O K"), this);
    CmdValider->setObjectName(QStringLiteral("CmdValider"));
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

// The confirm button reads "O K" in both languages.
void FrmChxPrgmFunc::appliquerFr() { applyLanguage(*this, "FrmChxPrgmFunc", "Fr"); }

void FrmChxPrgmFunc::appliquerEn() { applyLanguage(*this, "FrmChxPrgmFunc", "En"); }

void FrmChxPrgmFunc::CmdValider_Click() {
    prgmFunc_ = Opt1[0]->isChecked();
    accept();
}

}  // namespace korvane
