// The Edit menu and the editing commands of the main window: undo and redo, the
// clipboard, select all, the search dialog and the indenting of the program.
#include <QAction>
#include <QMenuBar>

#include "editor/Clipboard.h"
#include "editor/Colouring.h"
#include "editor/EditMenu.h"
#include "editor/Indent.h"
#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmRechercher.h"
#include "shell/ui/FrmP.h"

namespace korvane {

void FrmP::buildEditMenu() {
    const EditMenuCaptions& captions = editMenuCaptions(Langue);
    edition = menuBar()->addMenu(QString::fromStdString(captions.edition));
    annuler = edition->addAction(QStringLiteral("Annuler"));
    annuler->setShortcut(QKeySequence::Undo);
    retablir = edition->addAction(QStringLiteral("Rétablir"));
    retablir->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edition->addSeparator();
    copier = edition->addAction(QString::fromStdString(captions.copier));
    copier->setShortcut(QKeySequence::Copy);
    couper = edition->addAction(QString::fromStdString(captions.couper));
    couper->setShortcut(QKeySequence::Cut);
    coller = edition->addAction(QString::fromStdString(captions.coller));
    coller->setShortcut(QKeySequence::Paste);
    selectall = edition->addAction(QString::fromStdString(captions.selectall));
    selectall->setShortcut(QKeySequence::SelectAll);
    rechercher = edition->addAction(QString::fromStdString(captions.rechercher));
    rechercher->setShortcut(QKeySequence::Find);
    edition->addSeparator();
    indenter = edition->addAction(QString::fromStdString(captions.indenter));
    connect(annuler, &QAction::triggered, this, &FrmP::annuler_Click);
    connect(retablir, &QAction::triggered, this, &FrmP::retablir_Click);
    connect(copier, &QAction::triggered, this, &FrmP::copier_Click);
    connect(couper, &QAction::triggered, this, &FrmP::couper_Click);
    connect(coller, &QAction::triggered, this, &FrmP::coller_Click);
    connect(selectall, &QAction::triggered, this, &FrmP::selectall_Click);
    connect(rechercher, &QAction::triggered, this, &FrmP::rechercher_Click);
    connect(indenter, &QAction::triggered, this, &FrmP::indenter_Click);
}

void FrmP::runEditorCommand(EditorCommand command) {
    switch (command) {
        case EditorCommand::Cut: couper_Click(); break;
        case EditorCommand::Copy: copier_Click(); break;
        case EditorCommand::Paste: coller_Click(); break;
        case EditorCommand::SelectAll: selectall_Click(); break;
        case EditorCommand::Undo: annuler_Click(); break;
        case EditorCommand::Redo: retablir_Click(); break;
        case EditorCommand::Find: rechercher_Click(); break;
    }
}

void FrmP::copier_Click() {
    EditorContext context = editorContext();
    korvane::copier(context, clipboard_);
}

void FrmP::couper_Click() {
    EditorContext context = editorContext();
    korvane::couper(context, clipboard_);
}

void FrmP::coller_Click() {
    EditorContext context = editorContext();
    korvane::coller(context, clipboard_);
}

void FrmP::selectall_Click() { korvane::selectall(*RichTxt1); }

void FrmP::rechercher_Click() {
    if (!searchWindow) searchWindow = new FrmRechercher(*RichTxt1, prompt_, [this] { return Langue; }, this);
    searchWindow->show();
    searchWindow->raise();
    searchWindow->activateWindow();
}

// The whole text re-indented as one edit, which one Undo takes back; the caret
// stays on its character.
void FrmP::indenter_Click() {
    const std::string text = RichTxt1->text();
    const std::string indented = indentProgram(text, indentStepOf(text));
    if (indented == text) return;
    const int caret = indentedPosition(text, indented, RichTxt1->caret());
    RichTxt1->replaceRange(0, RichTxt1->length(), indented);
    colorierTout();
    RichTxt1->setCaret(caret);
    RichTxt1->setFocus();
}

void FrmP::annuler_Click() {
    RichTxt1->undo();
    recolourKeepingText();
}

void FrmP::retablir_Click() {
    RichTxt1->redo();
    recolourKeepingText();
}

// After an undo or a redo the colours follow the text, which stays as it is: a
// keyword rewrite here would be a new edit and wipe the redo history.
void FrmP::recolourKeepingText() {
    RichTxt1->setRewritesAllowed(false);
    colorierTout();
    RichTxt1->setRewritesAllowed(true);
}

}  // namespace korvane
