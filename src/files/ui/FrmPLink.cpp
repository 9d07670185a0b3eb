// Sending the Document to the calculator and receiving a program from it through
// libticalcs. Transfers run on a worker thread: the window shows the progress and
// what happens, and "Annuler" stops them. A failed transfer never changes the
// Document.
#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>
#include <memory>

#include "editor/CharTable.h"
#include "editor/ui/EditorWidget.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "files/FileFlows.h"
#include "files/SyntaxCheck.h"
#include "files/VariableTable.h"
#include "files/ui/FrmChoixVariable.h"
#include "files/ui/LinkTransfer.h"
#include "link/Link.h"
#include "shell/Languages.h"
#include "shell/ui/FrmP.h"

namespace korvane {
namespace {

QString text(const char* key, const std::string& langue) {
    return QString::fromStdString(languageText("FrmP", key, 0, langue));
}

QString shownName(const std::string& qualifiedName) { return QString::fromStdString(calcToUtf8(qualifiedName)); }

// "main\quad envoyé : 4 622 octets en 0,3 s": the caption `key` with the name, the
// variable's bytes and the seconds taken, written as the language writes numbers.
QString summary(const char* key, const QString& name, std::uint64_t bytes, double seconds, const std::string& langue) {
    const link::Language language = link::languageOf(langue);
    return text(key, langue).arg(name, QString::fromStdString(link::groupedCount(bytes, language)),
                                 QString::fromStdString(link::tenthsOfSeconds(seconds, language)));
}

constexpr int kProgressSteps = 1000;

// The link's label beside the help's labels, which share whatever room is left: it
// takes the width of `widest` (its text when empty), up to two thirds of the bar,
// so that what the link says is seen; nothing when it says nothing.
void showLinkText(StatusLabel& label, const QStatusBar& bar, const QString& text, const QString& widest = {}) {
    const int needed = text.isEmpty() ? 0
                                      : label.fontMetrics().horizontalAdvance(widest.isEmpty() ? text : widest) +
                                            label.contentsMargins().left() + label.contentsMargins().right() + 2;
    label.setMinimumWidth(std::min(needed, bar.width() * 2 / 3));
    label.showText(text);
}

}  // namespace

void FrmP::buildLinkControls() {
    envoyer = new QAction(this);
    envoyer->setObjectName(QStringLiteral("envoyer"));
    envoyer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    recevoir = new QAction(this);
    recevoir->setObjectName(QStringLiteral("recevoir"));
    // After the saving items, as the next step of a program's road.
    const QList<QAction*> items = fichier->actions();
    const qsizetype afterSaveAs = items.indexOf(enregistrerSous) + 1;
    QAction* before = afterSaveAs > 0 && afterSaveAs < items.size() ? items[afterSaveAs] : nullptr;
    fichier->insertAction(before, envoyer);
    fichier->insertAction(before, recevoir);

    // A failure's sentence is long: the label cuts it to the bar's room, whole in its tooltip.
    LblLiaison = new StatusLabel("LblLiaison", statusBar());
    statusBar()->addWidget(LblLiaison);
    CmdStopLink = new QPushButton(statusBar());
    CmdStopLink->setObjectName(QStringLiteral("CmdStopLink"));
    CmdStopLink->hide();
    statusBar()->addPermanentWidget(CmdStopLink);

    linkTransfer = new LinkTransfer(this);
    connect(linkTransfer, &LinkTransfer::progress, this, [this](double fraction) {
        PrgsBar->setValue(static_cast<int>(fraction * kProgressSteps));
        if (!linkTransfer->caption.isEmpty())
            showLinkText(*LblLiaison, *statusBar(), linkTransfer->caption.arg(static_cast<int>(fraction * 100)),
                         linkTransfer->caption.arg(100));
    });
    connect(CmdStopLink, &QPushButton::clicked, linkTransfer, &LinkTransfer::cancel);
    connect(envoyer, &QAction::triggered, this, &FrmP::envoyer_Click);
    connect(recevoir, &QAction::triggered, this, &FrmP::recevoir_Click);
}

void FrmP::transferStarted(const QString& what) {
    envoyer->setEnabled(false);
    recevoir->setEnabled(false);
    PrgsBar->setRange(0, kProgressSteps);
    PrgsBar->setValue(0);
    CmdStopLink->show();
    // A caption with a placeholder left takes the percentage done.
    linkTransfer->caption = what.contains(QLatin1Char('%')) ? what : QString();
    if (linkTransfer->caption.isEmpty()) showLinkText(*LblLiaison, *statusBar(), what);
    else showLinkText(*LblLiaison, *statusBar(), what.arg(0), what.arg(100));
}

void FrmP::transferEnded(const QString& what) {
    envoyer->setEnabled(true);
    recevoir->setEnabled(true);
    PrgsBar->setValue(0);
    CmdStopLink->hide();
    showLinkText(*LblLiaison, *statusBar(), what);
}

void FrmP::transferFailed(const link::LinkStatus& status) {
    if (status.id == link::MessageId::Cancelled) return transferEnded(text("linkCancelled", Langue));
    const QString failure = QString::fromStdString(status.message(link::languageOf(Langue)));
    transferEnded(failure);
    prompt_.tell(failure.toStdString(), PromptIcon::Error);
}

void FrmP::envoyer_Click() {
    if (linkTransfer->busy()) return;
    // What the tokenized save would write, made in memory: a program the calculator
    // would refuse is not sent, and its line gets the caret.
    const VariableFileInput input = documentInput();
    BuildResult file = buildVariableFile(input);
    if (file.ok()) file = tokenizeVariableFile(file.bytes, input.oneExpression);
    VariableTable table;
    if (file.ok()) table = readVariableTable(file.bytes);
    if (!file.ok() || !table.ok() || table.variables.empty()) {
        SyntaxCheck check = checkSyntax(input);
        if (check.ok) check = {false, 0, file.ok() ? table.error : file.error};
        prompt_.tell(checkMessage(check).toStdString(), PromptIcon::Warning);
        if (check.line) caretToLine(check.line);
        return;
    }
    const TableEntry entry = table.variables.front();
    const link::LinkOptions options = link::optionsFromSettingsFile(settings_.cheminIni());
    const QString name = shownName(entry.qualifiedName());
    // As the calculator counts a variable's size: its data and their size word.
    const std::uint64_t bytes = entry.data.size() + 2;
    transferStarted(text("linkSending", Langue).arg(name));
    linkTransfer->start(
        [entry, options](link::TransferControl& control) {
            auto opened = link::Link::open(options);
            if (!opened.ok()) return opened.status;
            const link::LinkStatus ready = opened.value->checkReady(&control);
            if (!ready.ok()) return ready;
            return opened.value->sendVariable(entry, &control);
        },
        [this, name, bytes](const link::LinkStatus& status) {
            if (status.ok()) transferEnded(summary("linkSent", name, bytes, linkTransfer->seconds(), Langue));
            else transferFailed(status);
        });
}

void FrmP::recevoir_Click() {
    if (linkTransfer->busy()) return;
    const link::LinkOptions options = link::optionsFromSettingsFile(settings_.cheminIni());
    auto found = std::make_shared<std::vector<link::CalcVariable>>();
    transferStarted(text("linkListing", Langue));
    linkTransfer->start(
        [options, found](link::TransferControl& control) {
            auto opened = link::Link::open(options);
            if (!opened.ok()) return opened.status;
            auto listed = opened.value->listPrograms(&control);
            if (listed.ok()) *found = std::move(listed.value);
            return listed.status;
        },
        [this, found, options](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            transferEnded({});
            if (found->empty()) {
                prompt_.tell(text("linkEmpty", Langue).toStdString(), PromptIcon::Information);
                return;
            }
            std::vector<FrmChoixVariable::Choice> choices;
            for (const link::CalcVariable& v : *found)
                choices.push_back({v.qualifiedName(), shownName(v.qualifiedName()) + QStringLiteral("    ") +
                                                          FrmChoixVariable::describe(v.type == kFunctionTypeId, v.size, Langue)});
            FrmChoixVariable choice(choices, "calculator", Langue, this);
            runModal(choice);
            if (choice.result() != QDialog::Accepted) return;
            for (const link::CalcVariable& v : *found)
                if (v.qualifiedName() == choice.chosen) return receiveFromCalculator(v, options);
        });
}

void FrmP::receiveFromCalculator(const link::CalcVariable& variable, const link::LinkOptions& options) {
    auto received = std::make_shared<Bytes>();
    const QString name = shownName(variable.qualifiedName());
    transferStarted(text("linkReceiving", Langue).arg(name));
    linkTransfer->start(
        [options, received, variable](link::TransferControl& control) {
            auto opened = link::Link::open(options);
            if (!opened.ok()) return opened.status;
            auto got = opened.value->receiveVariable(variable, &control);
            if (got.ok()) *received = std::move(got.value);
            return got.status;
        },
        [this, received, name, bytes = std::uint64_t{variable.size}](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            // Read as a file is read; the Document has no file until it is saved.
            const OpenedFile opened = openProgramData(readVariableTable(*received), detokenizer, temporaryFolder, {});
            if (!opened.ok()) {
                const QString failure = opened.failure == OpenedFile::Failure::Detokenization
                                            ? QString::fromStdString(message(MessageId::DetokenizationFailed))
                                            : EditorWidget::toDisplay(opened.reason);
                transferEnded(failure);
                prompt_.tell(failure.toStdString(), PromptIcon::Error);
                return;
            }
            transferEnded(summary("linkReceived", name, bytes, linkTransfer->seconds(), Langue));
            // Asked once the program is here, so that edits made meanwhile count too.
            if (saveBeforeReplacing()) showOpened(opened, {});
        });
}

}  // namespace korvane
