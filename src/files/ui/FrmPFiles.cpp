// The main window's opening and saving: its commands, the save question, the save
// and open routines, drops of variable files and the title.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QUrl>
#include <filesystem>

#include "editor/CharTable.h"
#include "editor/ui/EditorWidget.h"
#include "files/FileFlows.h"
#include "files/FileStamp.h"
#include "files/ProgramTextFile.h"
#include "files/Messages.h"
#include "files/SyntaxCheck.h"
#include "files/ui/FrmChoixVariable.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/Layout.h"
#include "shell/ui/FrmP.h"

namespace korvane {
namespace {

QRect buttonRect(int leftTwips) {
    // Tool-strip buttons: top 480, 615 x 495 twips.
    return {leftTwips / kTwipsPerPixel, 480 / kTwipsPerPixel, 615 / kTwipsPerPixel, 495 / kTwipsPerPixel};
}

// The first local variable file that a drag carries, or empty.
std::string droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const std::string path = url.toLocalFile().toStdString();
        if (isOpenableFile(path)) return path;
    }
    return {};
}

// Takes drags of variable files on the widgets it watches, before their own drop
// handling (the editor and the fields would insert the path as text).
class VariableFileDrop : public QObject {
public:
    VariableFileDrop(QObject* parent, std::function<void(const std::string&)> open)
        : QObject(parent), open_(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDragMoveEvent*>(event);
                if (droppedFile(drag->mimeData()).empty()) break;
                drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                const std::string path = droppedFile(drop->mimeData());
                if (path.empty()) break;
                drop->acceptProposedAction();
                // Opened once the drag has ended: the save question is a modal dialog.
                QMetaObject::invokeMethod(this, [this, path] { open_(path); }, Qt::QueuedConnection);
                return true;
            }
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(const std::string&)> open_;
};

// The settings key of the folder last saved to, where the save-as browser starts
// for a Document without a file.
constexpr const char* kSaveFolderKey = "DirEnregistrer";

std::string fileNameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

void FrmP::buildFileControls() {
    temporaryFolder = systemTemporaryFolder();

    ouvrir = new QAction(QStringLiteral("Ouvrir"), this);
    fichier->insertAction(enregistrer, ouvrir);
    enregistrerSous = new QAction(QStringLiteral("Enregistrer sous"), this);
    const QList<QAction*> items = fichier->actions();
    const qsizetype afterSave = items.indexOf(enregistrer) + 1;
    fichier->insertAction(afterSave < items.size() ? items[afterSave] : nullptr, enregistrerSous);

    nouveau->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    ouvrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    enregistrerSous->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    quitter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Ctrl+S works also while the menu item Save is disabled, so it lives on the window.
    auto* save = new QAction(this);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(save);
    connect(save, &QAction::triggered, this, &FrmP::saveShortcut);

    QWidget* strip = CmdNouveau->parentWidget();
    CmdOuvrir = new QPushButton(strip);
    CmdOuvrir->setGeometry(buttonRect(720));
    CmdOuvrir->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    CmdOuvrir->setToolTip(QStringLiteral("Ouvrir"));
    CmdSauver = new QPushButton(strip);
    CmdSauver->setGeometry(buttonRect(1320));
    CmdSauver->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    CmdSauver->setToolTip(QStringLiteral("Enregistrer"));

    connect(ouvrir, &QAction::triggered, this, [this] { openRoutine(false); });
    connect(CmdOuvrir, &QPushButton::clicked, this, [this] { openRoutine(false); });
    connect(enregistrer, &QAction::triggered, this, &FrmP::enregistrer_Click);
    connect(enregistrerSous, &QAction::triggered, this, &FrmP::enregistrerSous_Click);
    connect(CmdSauver, &QPushButton::clicked, this, [this] { CmdSauver_Click(); });

    setAcceptDrops(true);
    auto* drops = new VariableFileDrop(this, [this](const std::string& path) { openDropped(path); });
    for (QObject* target : {static_cast<QObject*>(this), static_cast<QObject*>(RichTxt1->viewport()),
                            static_cast<QObject*>(TxtNomFichier), static_cast<QObject*>(TxtRep)})
        target->installEventFilter(drops);
}

FrmSaveTok& FrmP::frmSaveTok() {
    if (!frmSaveTok_) frmSaveTok_ = new FrmSaveTok(this);
    frmSaveTok_->loadIfNeeded();
    return *frmSaveTok_;
}

FrmEnregistrer& FrmP::frmEnregistrer() {
    if (!frmEnregistrer_) frmEnregistrer_ = new FrmEnregistrer(settings_, prompt_, this);
    frmEnregistrer_->loadIfNeeded();
    return *frmEnregistrer_;
}

FrmParcourir& FrmP::frmParcourir() {
    if (!frmParcourir_) frmParcourir_ = new FrmParcourir(settings_, prompt_, this);
    frmParcourir_->loadIfNeeded();
    return *frmParcourir_;
}

void FrmP::setDocumentPath(const std::string& path) {
    if (path != document.path) document.diskStamp = document.declinedStamp = std::nullopt;
    document.path = path;
    refreshTitle();
}

VariableFileInput FrmP::documentInput() const {
    return {nameField(), folderField(), RichTxt1->text(), document.variableHeader, document.variableTrailer,
            document.oneExpression};
}

DocumentState FrmP::documentState() const { return {RichTxt1->text(), nameField(), folderField()}; }

bool FrmP::hasUnsavedChanges() const {
    if (nameField() != document.saved.name || folderField() != document.saved.folder) return true;
    // The editor's own flag stays clear until the first edit after markSaved, so the
    // whole text is read and compared only once there has been one.
    return RichTxt1->document()->isModified() && RichTxt1->text() != document.saved.text;
}

void FrmP::markSaved() {
    document.saved = documentState();
    RichTxt1->document()->setModified(false);
    refreshTitle();
    // Saved, or replaced after the user gave it up: nothing left to recover.
    dropRecoveryCopy();
}

void FrmP::refreshTitle() {
    setWindowTitle(QString::fromStdString(korvane::windowTitle(document.path, hasUnsavedChanges())));
}

// ---- Saving ----

FrmSaveTok& FrmP::saveQuestion(bool withCancel) {
    FrmSaveTok& question = frmSaveTok();
    question.prepare(document.tokenizedFile, withCancel);
    const std::string name = nameField();
    question.setSubject(EditorWidget::toDisplay(document.path.empty() ? name.substr(0, name.find('('))
                                                                      : fileNameOf(document.path)));
    return question;
}

bool FrmP::CmdSauver_Click() {
    toExistingPath = enregistrer->isEnabled();
    FrmSaveTok& question = saveQuestion(false);
    runModal(question);
    return question.answer == FrmSaveTok::Answer::Save && saveRoutine(question.tokenize);
}

bool FrmP::saveBeforeReplacing() {
    if (!hasUnsavedChanges()) return true;
    toExistingPath = enregistrer->isEnabled();
    FrmSaveTok& question = saveQuestion(true);
    runModal(question);
    switch (question.answer) {
        case FrmSaveTok::Answer::DontSave: return true;
        case FrmSaveTok::Answer::Save: return saveRoutine(question.tokenize);
        case FrmSaveTok::Answer::Cancel: break;
    }
    colorierTout();
    return false;
}

void FrmP::enregistrer_Click() {
    // Save keeps the file's form; only the question changes it.
    toExistingPath = true;
    saveRoutine(document.tokenizedFile);
}

void FrmP::enregistrerSous_Click() {
    toExistingPath = false;
    FrmSaveTok& question = saveQuestion(false);
    runModal(question);
    if (question.answer == FrmSaveTok::Answer::Save) saveRoutine(question.tokenize);
}

void FrmP::saveShortcut() {
    if (enregistrer->isEnabled()) enregistrer_Click();
    else CmdSauver_Click();
}

std::string FrmP::proposedFileName() const {
    if (!document.path.empty()) return nameWithoutExtension(std::filesystem::path(document.path).filename().string());
    const std::string name = nameField();
    return name.substr(0, name.find('('));
}

bool FrmP::saveRoutine(bool tokenize) {
    std::string target = document.path;
    if (needsSaveAsBrowser(document.path, toExistingPath)) {
        FrmEnregistrer& browser = frmEnregistrer();
        browser.fillTypes(PrgmFunc ? ProgramKind::Program : ProgramKind::Function);
        // A Document with a file starts beside it; a new one where the last save went.
        std::string start = document.path.empty() ? settings_.lireIni(kSaveFolderKey)
                                                  : std::filesystem::path(document.path).parent_path().string();
        if (start.empty() || start == "1") start = QDir::homePath().toStdString();
        browser.startIn(QString::fromStdString(start));
        browser.proposeName(EditorWidget::toDisplay(proposedFileName()));
        runModal(browser);
        if (!browser.confirmed) {
            colorierTout();
            return false;
        }
        target = browser.path();
    }
    // Another program (or another window) wrote the file since it was read or saved here.
    if (target == document.path && changedOnDisk(document.diskStamp, target)) {
        const PromptAnswer answer = prompt_.ask(
            {message(MessageId::ChangedOnDiskReplace, {fileNameOf(target)}), PromptIcon::Warning, PromptButtons::YesCancel});
        if (answer != PromptAnswer::Yes) {
            colorierTout();
            return false;
        }
    }
    VariableFileInput input = documentInput();
    input.variableHeader = headerForTarget(document.variableHeader, target);
    const std::string error = saveProgramFile(input, target, tokenize, detokenizer);
    if (!error.empty()) {
        prompt_.tell(saveFailureMessage(target, error), PromptIcon::Error);
        colorierTout();
        // A program the calculator would refuse: the caret goes to the faulty line.
        if (const int line = lineOfError(error)) caretToLine(line);
        return false;
    }
    // A program text file is text whatever the question said.
    document.tokenizedFile = tokenize && !isProgramTextPath(target);
    enregistrer->setEnabled(true);
    colorierTout();
    setDocumentPath(target);
    document.diskStamp = fileStampOf(target);
    document.declinedStamp.reset();
    settings_.ecrireIni(kSaveFolderKey, std::filesystem::path(target).parent_path().string());
    markSaved();
    return true;
}

// ---- Opening ----

void FrmP::openRoutine(bool fromStartup, const std::string& path) {
    if (fromStartup) {
        openFile(path);
        return;
    }
    // A Document that has a file may be saved first; a new one is replaced without a question.
    if (!saveBeforeReplacing()) return;
    FrmParcourir& browser = frmParcourir();
    runModal(browser);
    if (!browser.confirmed) {
        colorierTout();
        return;
    }
    openFile(browser.path());
}

void FrmP::openDropped(const std::string& path) {
    if (!saveBeforeReplacing()) return;
    openFile(path);
}

void FrmP::openFile(const std::string& path) {
    // The file is read whole before the Document changes, so a refused file leaves
    // the text, the fields and the path as they were.
    Bytes file;
    std::string wanted;
    // Taken before the read: a change made while it is read counts as a change.
    const std::optional<FileStamp> stamp = fileStampOf(path);
    std::string error = readCalculatorFile(path, file);
    if (error.empty() && isProgramTextPath(path)) {
        const OpenedFile opened = readProgramTextFile(file, path);
        if (!opened.ok()) {
            prompt_.tell(openFailureMessage(path, opened.reason), PromptIcon::Error);
            colorierTout();
            return;
        }
        showOpened(opened, path);
        document.diskStamp = stamp;
        return;
    }
    ProgramListing listing;
    if (error.empty()) {
        listing = listPrograms(file);
        if (!listing.ok()) {
            error = listing.error;
        } else if (const auto programs = listing.programs(); programs.size() > 1) {
            FrmChoixVariable choice(programs, Langue, this);
            runModal(choice);
            if (choice.result() != QDialog::Accepted || choice.chosen.empty()) {
                colorierTout();
                return;
            }
            wanted = choice.chosen;
        }
    }
    if (!error.empty()) {
        prompt_.tell(openFailureMessage(path, error), PromptIcon::Error);
        colorierTout();
        return;
    }
    const OpenedFile opened = openProgramData(listing.table, detokenizer, temporaryFolder, wanted);
    if (!opened.ok()) {
        if (opened.failure == OpenedFile::Failure::Detokenization)
            prompt_.tell(message(MessageId::DetokenizationFailed));
        else
            prompt_.tell(openFailureMessage(path, opened.reason), PromptIcon::Error);
        colorierTout();
        return;
    }
    // A variable taken from a file that holds others is saved to a file of its own:
    // Save asks where, and the group is never rewritten.
    showOpened(opened, opened.wholeFile ? path : std::string());
    if (opened.wholeFile) document.diskStamp = stamp;
}

void FrmP::showOpened(const OpenedFile& opened, const std::string& path) {
    const VariableFileContent& content = opened.content;
    document.variableHeader = content.header;
    setFolderField(content.folder.substr(0, kNameLimit));
    RichTxt1->setPlainText(editorTextOf(content.programText));
    document.variableTrailer = content.trailer;
    document.oneExpression = opened.oneExpression;
    document.tokenizedFile = opened.tokenized;
    setNameField(nameFieldOf(content));
    enregistrer->setEnabled(!path.empty());
    document.path = path;
    document.diskStamp = document.declinedStamp = std::nullopt;
    colorierTout();
    markSaved();
    // Typing goes into the program's body, not into the name field above it.
    caretToLine(3);
}

// ---- The file changed on disk ----

void FrmP::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        // After the activation has settled: the check may show a question.
        QMetaObject::invokeMethod(this, &FrmP::checkFileOnDisk, Qt::QueuedConnection);
}

void FrmP::checkFileOnDisk() {
    if (checkingDisk_ || loading || document.path.empty() || QApplication::activeModalWidget()) return;
    const std::optional<FileStamp> now = fileStampOf(document.path);
    if (!now || !document.diskStamp || *now == *document.diskStamp || now == document.declinedStamp) return;
    checkingDisk_ = true;
    bool reread = !hasUnsavedChanges();
    if (!reread) {
        reread = prompt_.ask({message(MessageId::ChangedOnDiskReload, {fileNameOf(document.path)}),
                              PromptIcon::Question, PromptButtons::YesNo}) == PromptAnswer::Yes;
        // Not asked again for this change; Save still asks before replacing it.
        if (!reread) document.declinedStamp = now;
    }
    if (reread) {
        const int caret = RichTxt1->caret();
        openFile(document.path);
        // A file that could not be read again is not tried at every return to the front.
        if (document.diskStamp != now) document.declinedStamp = now;
        const int last = static_cast<int>(RichTxt1->text().size()) - kLastCaretFromEnd;
        RichTxt1->setCaret(std::clamp(caret, kFirstCaret, std::max(kFirstCaret, last)));
    }
    checkingDisk_ = false;
}

}  // namespace korvane
