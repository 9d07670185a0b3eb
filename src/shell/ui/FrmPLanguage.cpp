// The main window's language, its Help menu, the options dialog and the about box.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QMenuBar>
#include <QPushButton>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmRechercher.h"
#include "files/Messages.h"
#include "insert/ui/CommandMenuBuilder.h"
#include "shell/Languages.h"
#include "shell/ui/FrmAbout1.h"
#include "shell/ui/FrmOption.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/LanguageApply.h"
#include "shell/ui/QtPrompt.h"

namespace korvane {

void FrmP::buildLanguageControls() {
    // The Help menu comes last, after the command menus.
    aide = menuBar()->addMenu(QString());
    option_ = aide->addAction(QString());
    about = aide->addAction(QString());
    connect(option_, &QAction::triggered, this, &FrmP::option_Click);
    connect(about, &QAction::triggered, this, &FrmP::about_Click);

    // The language table finds the controls by these names.
    const std::pair<QObject*, const char*> names[] = {
        {LblRep, "LblRep"},       {Label6, "Label6"},
        {cmdColor, "cmdColor"},   {fichier, "fichier"},
        {nouveau, "nouveau"},     {ouvrir, "ouvrir"},
        {enregistrer, "enregistrer"}, {enregistrerSous, "enregistrerSous"},
        {quitter, "quitter"},     {edition, "edition"},
        {annuler, "annuler"},     {retablir, "retablir"},
        {copier, "copier"},       {couper, "couper"},
        {coller, "coller"},       {selectall, "selectall"},
        {rechercher, "rechercher"}, {indenter, "indenter"},
        {aide, "aide"},
        {option_, "option_"},     {about, "about"},
        {CmdNouveau, "CmdNouveau"}, {CmdOuvrir, "CmdOuvrir"},
        {CmdSauver, "CmdSauver"}, {CmdCouper, "CmdCouper"},
        {CmdCopier, "CmdCopier"}, {CmdColler, "CmdColler"},
        {TxtRep, "TxtRep"},       {TxtNomFichier, "TxtNomFichier"},
        {CboTaille, "CboTaille"}, {RichTxt1, "RichTxt1"},
        {PrgsBar, "PrgsBar"}};
    for (const auto& [control, name] : names)
        if (control) control->setObjectName(QString::fromLatin1(name));
    if (!commandMenus.empty() && commandMenus.front()) commandMenus.front()->setObjectName(QStringLiteral("control"));
    // The labels name the fields they stand beside, for screen readers too.
    LblRep->setBuddy(TxtRep);
    Label6->setBuddy(CboTaille);

    // F10 opens the first menu, as on other desktops.
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(Qt::Key_F10);
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this, [this] {
        if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().front());
    });

    // Windows shown later take the language of that moment.
    new LanguageFollower(this, [this] { return Langue; });
    applyInterfaceLanguage();
}

void FrmP::appliquerFr() {
    Langue = "Fr";
    applyInterfaceLanguage();
}

void FrmP::appliquerEn() {
    Langue = "En";
    applyInterfaceLanguage();
}

void FrmP::applyInterfaceLanguage() {
    // The core's messages (the syntax check, the readers' refusals) follow too.
    setMessageLanguage(isEnglish(Langue) ? MessageLanguage::English : MessageLanguage::French);
    applyLanguage(*this, "FrmP", Langue);
    retitleCommandMenus(commandMenus, Langue);
    giveMenuMnemonics(*menuBar());
    if (searchWindow) searchWindow->applyCaptions();
    if (auto* boxes = dynamic_cast<QtPrompt*>(&prompt_)) boxes->setLangue(Langue);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this) continue;
        const QByteArray name = window->objectName().toUtf8();
        const std::string_view windowName(name.constData(), static_cast<size_t>(name.size()));
        if (hasLanguageRows(windowName)) applyLanguage(*window, windowName, Langue);
    }
    // The status bar's texts, once the help while writing is built.
    if (LblPosition) applyHelpLanguage();
}

void FrmP::option_Click() {
    FrmOption dialog(*this);
    runModal(dialog);
}

void FrmP::about_Click() {
    FrmAbout1 dialog(Langue, this);
    runModal(dialog);
}

}  // namespace korvane
