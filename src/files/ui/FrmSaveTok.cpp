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
    CmdAnnuler = new QPushButton(this);
    CmdAnnuler->setObjectName(QStringLiteral("CmdAnnuler"));
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdStop);
    buttons->addWidget(CmdAnnuler);
    layout->addLayout(buttons);
    appliquerFr();

    connect(Option1[0], &QRadioButton::toggled, this, [this](bool on) {
        if (on) tokenize = true;
    });
    connect(Option1[1], &QRadioButton::toggled, this, [this](bool on) {
        if (on) tokenize = false;
    });
    connect(CmdSave, &QPushButton::clicked, this, [this] { finish(Answer::Save); });
    connect(CmdStop, &QPushButton::clicked, this, [this] { finish(Answer::DontSave); });
    connect(CmdAnnuler, &QPushButton::clicked, this, [this] { finish(Answer::Cancel); });
}

void FrmSaveTok::loadIfNeeded() {
    if (loaded_) return;
    loaded_ = true;
    centreOver(*this, mainWindow_);
}

void FrmSaveTok::prepare(bool tokenizedFile, bool withCancel) {
    Option1[tokenizedFile ? 0 : 1]->setChecked(true);
    tokenize = tokenizedFile;
    CmdAnnuler->setVisible(withCancel);
    answer = Answer::Cancel;
    setFixedSize(sizeHint());
}

void FrmSaveTok::setSubject(const QString& subject) {
    setWindowTitle(QStringLiteral("Korvane - ") + subject);
}

void FrmSaveTok::showEvent(QShowEvent* event) {
    // The language follower sets the captions again as the window shows.
    giveMnemonics();
    QDialog::showEvent(event);
    // A button that had the focus would stay the default one: Enter would take the
    // answer clicked last time.
    CmdSave->setDefault(true);
    CmdSave->setFocus(Qt::OtherFocusReason);
}

void FrmSaveTok::giveMnemonics() {
    for (QPushButton* button : {CmdSave, CmdStop, CmdAnnuler})
        if (!button->text().startsWith(u'&')) button->setText(QLatin1Char('&') + button->text());
}

void FrmSaveTok::finish(Answer given) {
    answer = given;
    if (given == Answer::Save) done(Accepted);
    else done(Rejected);
}

void FrmSaveTok::appliquerFr() {
    applyLanguage(*this, "FrmSaveTok", "Fr");
    giveMnemonics();
}

void FrmSaveTok::appliquerEn() {
    applyLanguage(*this, "FrmSaveTok", "En");
    giveMnemonics();
}

void FrmSaveTok::reject() {
    answer = Answer::Cancel;
    loaded_ = false;
    QDialog::reject();
}

}  // namespace korvane
