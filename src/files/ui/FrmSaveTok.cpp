#include "files/ui/FrmSaveTok.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "files/ui/BrowserLists.h"
#include "shell/ui/LanguageApply.h"

namespace korvane {
FrmSaveTok::FrmSaveTok(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("FrmSaveTok"));
    setModal(true);
    setWindowTitle(QStringLiteral("Korvane"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);
    for (auto*& option : Option1) {
        option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("Option1"));
        layout->addWidget(option);
    }
    auto* buttons = new QHBoxLayout;
    CmdSave = new QPushButton(this);
    CmdSave->setObjectName(QStringLiteral("CmdSave"));
    CmdSave->setDefault(true);
    CmdStop = new QPushButton(this);
    CmdStop->setObjectName(QStringLiteral("CmdStop"));
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdStop);
    layout->addLayout(buttons);
    appliquerFr();
    setFixedSize(sizeHint());

    connect(Option1[0], &QRadioButton::toggled, this, [this](bool on) {
        if (on) tokenize = true;
    });
    connect(Option1[1], &QRadioButton::toggled, this, [this](bool on) {
        if (on) tokenize = false;
    });
    connect(CmdSave, &QPushButton::clicked, this, [this] {
        confirmed = true;
        done(Accepted);
    });
    connect(CmdStop, &QPushButton::clicked, this, [this] {
        confirmed = false;
        done(Rejected);
    });
}

void FrmSaveTok::loadIfNeeded() {
    if (loaded_) return;
    loaded_ = true;
    Option1[0]->setChecked(true);
    tokenize = true;
    confirmed = false;
    centreOver(*this, mainWindow_);
}

void FrmSaveTok::appliquerFr() { applyLanguage(*this, "FrmSaveTok", "Fr"); }

void FrmSaveTok::appliquerEn() { applyLanguage(*this, "FrmSaveTok", "En"); }

void FrmSaveTok::reject() {
    confirmed = false;
    loaded_ = false;
    QDialog::reject();
}

}  // namespace korvane
