#include "files/ui/FrmSaveTok.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "files/ui/BrowserLists.h"

namespace korvane {
namespace {

struct Captions {
    const char* option0;
    const char* option1;
    const char* question;
    const char* save;
    const char* stop;
};
constexpr Captions kFrench{"Tokénisé", "Normal (non tokénisé)", "Enregistrer ?", "Oui", "Non"};
constexpr Captions kEnglish{"Tokenized", "Normal (no  tokenized)", "Save ?", "Yes", "No"};

}  // namespace

FrmSaveTok::FrmSaveTok(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setModal(true);
    setWindowTitle(QStringLiteral("Korvane"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    layout->addWidget(Label1);
    for (auto*& option : Option1) {
        option = new QRadioButton(this);
        layout->addWidget(option);
    }
    auto* buttons = new QHBoxLayout;
    CmdSave = new QPushButton(this);
    CmdSave->setDefault(true);
    CmdStop = new QPushButton(this);
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

void FrmSaveTok::appliquerFr() {
    Option1[0]->setText(QString::fromUtf8(kFrench.option0));
    Option1[1]->setText(QString::fromUtf8(kFrench.option1));
    Label1->setText(QString::fromUtf8(kFrench.question));
    CmdSave->setText(QString::fromUtf8(kFrench.save));
    CmdStop->setText(QString::fromUtf8(kFrench.stop));
}

void FrmSaveTok::appliquerEn() {
    Option1[0]->setText(QString::fromUtf8(kEnglish.option0));
    Option1[1]->setText(QString::fromUtf8(kEnglish.option1));
    Label1->setText(QString::fromUtf8(kEnglish.question));
    CmdSave->setText(QString::fromUtf8(kEnglish.save));
    CmdStop->setText(QString::fromUtf8(kEnglish.stop));
}

void FrmSaveTok::reject() {
    confirmed = false;
    loaded_ = false;
    QDialog::reject();
}

}  // namespace korvane
