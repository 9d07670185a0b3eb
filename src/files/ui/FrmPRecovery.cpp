// The main window's recovery copy: written a moment after the edits while the
// Document has unsaved changes, removed when it is saved, given up or the window
// quits normally, and offered back by the next start when a Korvane did not quit.
#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <ctime>

#include "editor/CharTable.h"
#include "editor/ui/EditorWidget.h"
#include "files/Messages.h"
#include "shell/ui/FrmP.h"

namespace korvane {
namespace {

// No unsaved edit waits longer than this for its copy, however long the typing goes on.
constexpr int kLatestRecoveryCopy = 5000;

}  // namespace

void FrmP::setRecoveryDelay(int milliseconds) { recoveryDelay_ = std::clamp(milliseconds, 0, kLatestRecoveryCopy); }

std::string FrmP::recoveryCopyPath() const { return recovery_ ? recovery_->copyPath() : std::string(); }

void FrmP::startRecovery() {
    if (recoveryFolder.empty() || recovery_) return;
    recovery_ = std::make_unique<RecoveryStore>(recoveryFolder);
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setSingleShot(true);
    connect(recoveryTimer_, &QTimer::timeout, this, &FrmP::writeRecoveryCopy);
    // The editor signals many changes per keystroke (the colouring's too): each one
    // only restarts the timer.
    connect(RichTxt1, &QPlainTextEdit::textChanged, this, &FrmP::scheduleRecoveryCopy);
    connect(TxtNomFichier, &QLineEdit::textChanged, this, &FrmP::scheduleRecoveryCopy);
    connect(TxtRep, &QLineEdit::textChanged, this, &FrmP::scheduleRecoveryCopy);
    offerLeftCopies();
}

void FrmP::offerLeftCopies() {
    std::vector<LeftCopy> left = recovery_->claimLeftCopies();
    // One Document per window: after a restore, the other copies wait for the next start.
    for (LeftCopy& copy : left) {
        const std::optional<RecoveryCopy> read = copy.read();
        if (!read) {
            const std::string aside = copy.setAside();
            prompt_.tell(message(MessageId::RecoveryDamaged, {aside}), PromptIcon::Warning);
            continue;
        }
        const std::string program = calcToUtf8(read->folder + "\\" + read->name);
        const PromptAnswer answer = prompt_.ask(
            {message(MessageId::RecoveryOffer, {program, recoveryTimeText(read->savedAt)}), PromptIcon::Question,
             PromptButtons::YesNo});
        if (answer != PromptAnswer::Yes) {
            copy.discard();
            continue;
        }
        restoreRecoveryCopy(*read);
        // This window's own copy exists before the one it came from goes.
        writeRecoveryCopy();
        copy.discard();
        break;
    }
}

void FrmP::restoreRecoveryCopy(const RecoveryCopy& copy) {
    document.variableHeader = copy.variableHeader;
    setFolderField(copy.folder);
    RichTxt1->setPlainText(copy.text);
    document.variableTrailer = copy.variableTrailer;
    document.oneExpression = copy.oneExpression;
    document.tokenizedFile = copy.tokenizedFile;
    setNameField(copy.name);
    PrgmFunc = copy.kind == ProgramKind::Program;
    enregistrer->setEnabled(!copy.path.empty());
    document.path = copy.path;
    colorierTout();
    // Still unsaved against what its file, or the new Document, was.
    document.saved = copy.saved;
    RichTxt1->document()->setModified(true);
    refreshTitle();
    // Typing goes on in the program's body, as after an open.
    caretToLine(3);
}

void FrmP::scheduleRecoveryCopy() {
    if (!recovery_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!recoveryTimer_->isActive()) recoveryPendingSince_ = now;
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - recoveryPendingSince_).count();
    recoveryTimer_->start(std::clamp(kLatestRecoveryCopy - static_cast<int>(waited), 0, recoveryDelay_));
}

void FrmP::writeRecoveryCopy() {
    if (!recovery_) return;
    // Undone back to the saved state: nothing to keep.
    if (!hasUnsavedChanges()) {
        recovery_->remove();
        return;
    }
    RecoveryCopy copy;
    copy.text = RichTxt1->text();
    copy.name = nameField();
    copy.folder = folderField();
    copy.kind = PrgmFunc ? ProgramKind::Program : ProgramKind::Function;
    copy.path = document.path;
    copy.tokenizedFile = document.tokenizedFile;
    copy.oneExpression = document.oneExpression;
    copy.variableHeader = document.variableHeader;
    copy.variableTrailer = document.variableTrailer;
    copy.saved = document.saved;
    copy.savedAt = static_cast<std::int64_t>(std::time(nullptr));
    copy.ownerPid = QCoreApplication::applicationPid();
    const std::string error = recovery_->write(copy);
    // Told once: a message at every pause in the typing would stop the user from working.
    if (!error.empty() && !recoveryFailureShown_) {
        recoveryFailureShown_ = true;
        prompt_.tell(message(MessageId::RecoveryWriteFailed, {recovery_->copyPath(), error}), PromptIcon::Warning);
    }
}

void FrmP::dropRecoveryCopy() {
    if (!recovery_) return;
    recoveryTimer_->stop();
    recovery_->remove();
}

void FrmP::closeRecovery() {
    if (!recovery_) return;
    recoveryTimer_->stop();
    recovery_->close();
    recovery_.reset();
}

}  // namespace korvane
