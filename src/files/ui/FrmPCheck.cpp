// The syntax check of the Edit menu, the import of a TI link software text from the
// File menu, and the caret put on the line that the calculator would refuse.
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>

#include "editor/EditorContext.h"
#include "editor/ui/EditorWidget.h"
#include "files/Document.h"
#include "files/LinkText.h"
#include "files/SyntaxCheck.h"
#include "shell/Languages.h"
#include "shell/ui/FrmP.h"

namespace korvane {
namespace {

QString text(const char* control, const std::string& langue) {
    return QString::fromStdString(languageText("FrmP", control, 0, langue));
}

}  // namespace

void FrmP::buildCheckControls() {
    edition->addSeparator();
    verifierSyntaxe = edition->addAction(text("verifierSyntaxe", Langue));
    verifierSyntaxe->setObjectName(QStringLiteral("verifierSyntaxe"));
    verifierSyntaxe->setShortcut(QKeySequence(Qt::Key_F7));
    connect(verifierSyntaxe, &QAction::triggered, this, &FrmP::verifierSyntaxe_Click);

    importer = new QAction(text("importer", Langue), this);
    importer->setObjectName(QStringLiteral("importer"));
    fichier->insertAction(imprimer, importer);
    connect(importer, &QAction::triggered, this, &FrmP::importer_Click);
}

void FrmP::verifierSyntaxe_Click() {
    const SyntaxCheck c = checkSyntax(documentInput());
    if (c.ok) {
        prompt_.tell(languageText("FrmP", "messageSyntaxOk", 0, Langue), PromptIcon::Information);
        RichTxt1->setFocus();
        return;
    }
    prompt_.tell(checkMessage(c).toStdString(), PromptIcon::Warning);
    if (c.line) caretToLine(c.line);
}

QString FrmP::checkMessage(const SyntaxCheck& check) const {
    // An error of no line (the folder field, the program's size) is told alone.
    const QString shown = EditorWidget::toDisplay(check.message);
    return check.line ? text("messageSyntaxLine", Langue).arg(check.line).arg(shown) : shown;
}

void FrmP::caretToLine(int line) {
    // Line 1 stands for the argument list, which the name field holds.
    if (line == 1) {
        TxtNomFichier->setFocus();
        return;
    }
    const std::string shown = RichTxt1->text();
    const int last = static_cast<int>(shown.size()) - kLastCaretFromEnd;
    RichTxt1->setCaret(std::clamp(lineStartOffset(shown, line), kFirstCaret, std::max(kFirstCaret, last)));
    RichTxt1->setFocus();
}

void FrmP::importer_Click() {
    if (!saveBeforeReplacing()) return;
    QFileDialog dialog(this, text("importer", Langue).remove(QStringLiteral("...")));
    dialog.setObjectName(QStringLiteral("importDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(text("importFilter", Langue));
    runModal(dialog);
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string path = dialog.selectedFiles().front().toStdString();
    Bytes bytes;
    std::string error = readWholeFile(path, bytes);
    LinkTextResult read;
    if (error.empty()) {
        read = readLinkText(bytes);
        error = read.error;
    }
    if (!error.empty()) {
        prompt_.tell(text("messageImportFailed", Langue)
                         .arg(QString::fromStdString(path), QString::fromStdString(error))
                         .toStdString(),
                     PromptIcon::Error);
        return;
    }
    // A new Document, not yet saved anywhere.
    const VariableFileInput imported = documentOfLinkText(read.text, false);
    setDocumentPath({});
    enregistrer->setEnabled(false);
    document.variableHeader = imported.variableHeader;
    document.variableTrailer = imported.variableTrailer;
    document.oneExpression = false;
    document.tokenizedFile = true;
    RichTxt1->setPlainText(imported.editorText);
    setNameField(imported.nameField);
    setFolderField(imported.folderField);
    colorierTout();
    // The text is still in the file it came from: only edits from here on count.
    markSaved();
    RichTxt1->setCaret(kFirstCaret);
    RichTxt1->setFocus();
}

}  // namespace korvane
