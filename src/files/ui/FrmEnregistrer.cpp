#include "files/ui/FrmEnregistrer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "files/FileFlows.h"
#include "shell/ui/LanguageApply.h"

namespace korvane {
FrmEnregistrer::FrmEnregistrer(Settings& settings, PromptService& prompt, QWidget* mainWindow)
    : BrowserDialog(settings, prompt, mainWindow) {
    auto* grid = static_cast<QGridLayout*>(layout());
    setObjectName(QStringLiteral("FrmEnregistrer"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    TxtNom = new QLineEdit(this);
    LblType = new QLabel(QStringLiteral("Type :"), this);
    CboType = new QComboBox(this);
    TxtNom->setObjectName(QStringLiteral("TxtNom"));
    CboType->setObjectName(QStringLiteral("CboType"));
    Label1->setBuddy(TxtNom);
    LblType->setBuddy(CboType);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(TxtNom, 2, 1);
    grid->addWidget(LblType, 3, 0);
    grid->addWidget(CboType, 3, 1);
    grid->addWidget(TxtChemin, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    CmdSelectOK = new QPushButton(this);
    CmdSelectOK->setObjectName(QStringLiteral("CmdSelectOK"));
    CmdSelectOK->setDefault(true);
    CmdQuitter = new QPushButton(this);
    CmdQuitter->setObjectName(QStringLiteral("CmdQuitter"));
    buttons->addStretch();
    buttons->addWidget(CmdSelectOK);
    buttons->addWidget(CmdQuitter);
    grid->addLayout(buttons, 5, 0, 1, 2);
    appliquerFr();
    resize(560, 400);

    // The selection, not the current row: a click makes the row current before it
    // selects it, and the file name is that of the selected row.
    connect(File1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!File1->fileName().isEmpty()) File1_Click();
    });
    connect(File1, &QListWidget::itemDoubleClicked, this, &FrmEnregistrer::File1_DblClick);
    connect(TxtNom, &QLineEdit::textChanged, this, &FrmEnregistrer::showTarget);
    connect(CboType, &QComboBox::currentIndexChanged, this, &FrmEnregistrer::showTarget);
    connect(Dir1, &DirListBox::pathChanged, this, &FrmEnregistrer::showTarget);
    connect(CmdSelectOK, &QPushButton::clicked, this, &FrmEnregistrer::CmdSelectOK_Click);
    connect(CmdQuitter, &QPushButton::clicked, this, &FrmEnregistrer::CmdQuitter_Click);
}

void FrmEnregistrer::fillTypes(ProgramKind kind) {
    CboType->clear();
    for (const std::string& item : typeListItems(kind)) CboType->addItem(QString::fromStdString(item));
    CboType->setCurrentIndex(0);
}

void FrmEnregistrer::startIn(const QString& folder) {
    if (!Dir1->setPath(folder).isEmpty()) return;
    Drive1->setDrive(Dir1->path());
    File1->setPath(Dir1->path());
    showTarget();
}

void FrmEnregistrer::proposeName(const QString& name) {
    TxtNom->setText(name);
    replaceAgreed_.clear();
}

void FrmEnregistrer::appliquerFr() { applyLanguage(*this, "FrmEnregistrer", "Fr"); }

void FrmEnregistrer::appliquerEn() { applyLanguage(*this, "FrmEnregistrer", "En"); }

void FrmEnregistrer::File1_Click() {
    TxtNom->setText(QString::fromStdString(nameWithoutExtension(File1->fileName().toStdString())));
}

void FrmEnregistrer::File1_DblClick() {
    File1_Click();
    const std::string file = File1->fileName().toStdString();
    const PromptAnswer answer =
        prompt_.ask({message(MessageId::ReplaceQuestion, {file}), PromptIcon::None, PromptButtons::YesNo});
    if (answer != PromptAnswer::Yes) return;
    replaceAgreed_ = joinBrowserPath(File1->path().toStdString(), file);
    CmdSelectOK_Click();
}

void FrmEnregistrer::CmdSelectOK_Click() {
    if (TxtNom->text().isEmpty()) {
        prompt_.tell(message(MessageId::EnterName));
        return;
    }
    closingStep();
    // An existing file is replaced only when the user says so; "Non" leaves the
    // browser open for another name.
    const std::string target = path();
    std::error_code ec;
    if (target != replaceAgreed_ && std::filesystem::exists(target, ec)) {
        const std::string file = std::filesystem::path(target).filename().string();
        const PromptAnswer answer =
            prompt_.ask({message(MessageId::ReplaceQuestion, {file}), PromptIcon::None, PromptButtons::YesNo});
        if (answer != PromptAnswer::Yes) return;
    }
    replaceAgreed_.clear();
    confirmed = true;
    done(Accepted);
}

void FrmEnregistrer::CmdQuitter_Click() {
    confirmed = false;
    closingStep();
    done(Rejected);
}

void FrmEnregistrer::reject() {
    confirmed = false;
    closingStep();
    markUnloaded();
    QDialog::reject();
}

void FrmEnregistrer::closingStep() {
    writeSettings();
    if (CboType->currentIndex() < 0 && CboType->count() > 0) CboType->setCurrentIndex(0);
    showTarget();
}

void FrmEnregistrer::showTarget() {
    const std::string extension = extensionOfTypeItem(CboType->currentText().toStdString());
    TxtChemin->setText(QString::fromStdString(
        joinBrowserPath(File1->path().toStdString(), TxtNom->text().toStdString() + extension)));
}

}  // namespace korvane
