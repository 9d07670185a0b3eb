// Sending the Document to the calculator, running it there and showing the
// calculator's screen, receiving a program from it, its variables, its backups,
// through libticalcs. Transfers run on a worker thread: the window shows the
// progress and what happens, and "Annuler" stops them. A failed transfer never
// changes the Document.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>
#include <QTimer>
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
#include "link/CalcTypes.h"
#include "link/Link.h"
#include "link/ui/FrmArguments.h"
#include "link/ui/FrmEcran.h"
#include "link/ui/FrmVariables.h"
#include "shell/Languages.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/LinkOptionsGroup.h"

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
    envoyerExecuter = new QAction(this);
    envoyerExecuter->setObjectName(QStringLiteral("envoyerExecuter"));
    envoyerExecuter->setShortcut(QKeySequence(Qt::Key_F5));
    fichier->insertAction(before, envoyerExecuter);
    fichier->insertAction(before, recevoir);
    ecranCalc = new QAction(this);
    ecranCalc->setObjectName(QStringLiteral("ecranCalc"));
    variablesCalc = new QAction(this);
    variablesCalc->setObjectName(QStringLiteral("variablesCalc"));
    sauvegarderCalc = new QAction(this);
    sauvegarderCalc->setObjectName(QStringLiteral("sauvegarderCalc"));
    restaurerCalc = new QAction(this);
    restaurerCalc->setObjectName(QStringLiteral("restaurerCalc"));
    for (QAction* item : {ecranCalc, variablesCalc, sauvegarderCalc, restaurerCalc}) fichier->insertAction(before, item);
    if (before) fichier->insertSeparator(before);

    askBackupPath = [this](bool save) {
        QFileDialog dialog(this);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        const QString extension = QString::fromStdString(
            link::groupFileExtension(link::optionsFromSettingsFile(settings_.cheminIni()).calc));
        dialog.setNameFilter(QStringLiteral("*") + extension + QStringLiteral(" (*") + extension + QStringLiteral(")"));
        if (save) dialog.selectFile(QStringLiteral("backup") + extension);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                      : QString();
    };

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
    connect(envoyerExecuter, &QAction::triggered, this, &FrmP::envoyerExecuter_Click);
    connect(ecranCalc, &QAction::triggered, this, [this] {
        frmEcran().show();
        frmEcran().raise();
    });
    connect(variablesCalc, &QAction::triggered, this, [this] {
        if (frmVariables().isVisible()) frmVariables().refresh();
        frmVariables().show();
        frmVariables().raise();
    });
    connect(sauvegarderCalc, &QAction::triggered, this, &FrmP::sauvegarderCalc_Click);
    connect(restaurerCalc, &QAction::triggered, this, &FrmP::restaurerCalc_Click);
}

FrmEcran& FrmP::frmEcran() {
    if (!frmEcran_) {
        frmEcran_ = new FrmEcran([this] { return Langue; }, this);
        connect(frmEcran_, &FrmEcran::refreshRequested, this,
                [this] { takeScreen({}, link::optionsFromSettingsFile(settings_.cheminIni())); });
        connect(frmEcran_, &FrmEcran::saveFailed, this,
                [this](const QString& failure) { prompt_.tell(failure.toStdString(), PromptIcon::Error); });
    }
    frmEcran_->setLcdColours(LinkOptionsGroup::lcdColours(settings_));
    return *frmEcran_;
}

FrmVariables& FrmP::frmVariables() {
    if (!frmVariables_) {
        frmVariables_ = new FrmVariables([this] { return Langue; },
                                         [this] { return link::optionsFromSettingsFile(settings_.cheminIni()); }, this);
        frmVariables_->tell = [this](const QString& failure) { prompt_.tell(failure.toStdString(), PromptIcon::Error); };
        connect(frmVariables_, &FrmVariables::openRequested, this, [this](const link::CalcVariable& v) {
            if (!linkTransfer->busy()) receiveFromCalculator(v, link::optionsFromSettingsFile(settings_.cheminIni()));
        });
    }
    return *frmVariables_;
}

void FrmP::transferStarted(const QString& what) {
    for (QAction* item : {envoyer, recevoir, envoyerExecuter, sauvegarderCalc, restaurerCalc}) item->setEnabled(false);
    PrgsBar->setRange(0, kProgressSteps);
    PrgsBar->setValue(0);
    CmdStopLink->show();
    // A caption with a placeholder left takes the percentage done.
    linkTransfer->caption = what.contains(QLatin1Char('%')) ? what : QString();
    if (linkTransfer->caption.isEmpty()) showLinkText(*LblLiaison, *statusBar(), what);
    else showLinkText(*LblLiaison, *statusBar(), what.arg(0), what.arg(100));
}

void FrmP::transferEnded(const QString& what) {
    for (QAction* item : {envoyer, recevoir, envoyerExecuter, sauvegarderCalc, restaurerCalc}) item->setEnabled(true);
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

bool FrmP::documentEntry(TableEntry& entry) {
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
        return false;
    }
    entry = table.variables.front();
    return true;
}

void FrmP::envoyer_Click() {
    if (linkTransfer->busy()) return;
    TableEntry entry;
    if (!documentEntry(entry)) return;
    const link::LinkOptions options = link::optionsFromSettingsFile(settings_.cheminIni());
    const QString name = shownName(entry.qualifiedName());
    // As the calculator counts a variable's size: its data and their size word.
    const std::uint64_t bytes = entry.data.size() + 2;
    transferStarted(text("linkSending", Langue).arg(name));
    linkTransfer->startOnLink(
        options,
        [entry](link::Link& calc, link::TransferControl& control) {
            const link::LinkStatus ready = calc.checkReady(&control);
            if (!ready.ok()) return ready;
            return calc.sendVariable(entry, &control);
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
    linkTransfer->startOnLink(
        options,
        link::keepingResult(found,
            [](link::Link& calc, link::TransferControl& control) { return calc.listPrograms(&control); }),
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
    linkTransfer->startOnLink(
        options,
        link::keepingResult(received,
            [variable](link::Link& calc, link::TransferControl& control) { return calc.receiveVariable(variable, &control); }),
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

namespace {

// The parameters of a name field "hi(a,b)": "a,b"; "" for none.
std::string parametersOf(const std::string& nameField) {
    const auto open = nameField.find('(');
    const auto close = nameField.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close <= open) return {};
    std::string inside = nameField.substr(open + 1, close - open - 1);
    return inside.find_first_not_of(' ') == std::string::npos ? std::string() : inside;
}

// The settings key of the arguments last used for a program.
std::string argumentsKey(const std::string& qualifiedName) { return "Arguments " + calcToUtf8(qualifiedName); }

}  // namespace

void FrmP::envoyerExecuter_Click() {
    if (linkTransfer->busy()) return;
    TableEntry entry;
    if (!documentEntry(entry)) return;
    const std::string qualifiedName = entry.folder + "\\" + entry.name;
    std::string arguments;
    const std::string parameters = parametersOf(documentInput().nameField);
    if (!parameters.empty()) {
        // Asked once, before anything is sent: a cancel leaves the calculator as it was.
        const std::string key = argumentsKey(qualifiedName);
        FrmArguments dialog(qualifiedName + "(" + parameters + ")", utf8ToCalc(LinkOptionsGroup::storedValue(settings_, key).value_or("")), Langue, this);
        runModal(dialog);
        if (dialog.result() != QDialog::Accepted) return;
        arguments = dialog.arguments();
        settings_.ecrireIni(key, calcToUtf8(arguments));
    }
    const link::LinkOptions options = link::optionsFromSettingsFile(settings_.cheminIni());
    const QString name = shownName(qualifiedName);
    transferStarted(text("linkSending", Langue).arg(name));
    linkTransfer->startOnLink(
        options,
        [entry](link::Link& calc, link::TransferControl& control) {
            const link::LinkStatus ready = calc.checkReady(&control);
            if (!ready.ok()) return ready;
            return calc.sendVariable(entry, &control);
        },
        [this, qualifiedName, arguments, options](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            runOnCalculator(qualifiedName + "(" + arguments + ")", options);
        });
}

void FrmP::runOnCalculator(const std::string& call, const link::LinkOptions& options) {
    const auto open = call.find('(');
    const std::string qualifiedName = call.substr(0, open);
    const std::string arguments = call.substr(open + 1, call.size() - open - 2);
    const QString shown = shownName(call);
    transferStarted(text("linkRunning", Langue).arg(shown));
    linkTransfer->startOnLink(
        options,
        [qualifiedName, arguments](link::Link& calc, link::TransferControl& control) {
            return calc.execute(qualifiedName, arguments, &control);
        },
        [this, shown, options](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            transferEnded(text("linkRan", Langue).arg(shown));
            const int delay = LinkOptionsGroup::screenDelay(settings_);
            if (delay == 0) return;
            // The program draws meanwhile; the window stays free to use.
            QTimer::singleShot(delay * 1000, this, [this, shown, options] { takeScreen(shown, options); });
        });
}

void FrmP::takeScreen(const QString& ran, const link::LinkOptions& options) {
    if (linkTransfer->busy()) return;
    auto taken = std::make_shared<link::Screen>();
    transferStarted(text("linkTakingScreen", Langue));
    linkTransfer->startOnLink(
        options,
        link::keepingResult(taken,
            [](link::Link& calc, link::TransferControl& control) { return calc.takeScreen(&control); }),
        [this, ran, taken, calc = options.calc](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            FrmEcran& screen = frmEcran();
            screen.setScreen(*taken, calc);
            screen.show();
            transferEnded(ran.isEmpty() ? text("linkScreenReceived", Langue) : text("linkScreenTaken", Langue).arg(ran));
        });
}

void FrmP::sauvegarderCalc_Click() {
    if (linkTransfer->busy()) return;
    const QString path = askBackupPath(true);
    if (path.isEmpty()) return;
    const link::LinkOptions options = link::optionsFromSettingsFile(settings_.cheminIni());
    auto backup = std::make_shared<Bytes>();
    transferStarted(text("linkBackingUp", Langue));
    linkTransfer->startOnLink(
        options,
        link::keepingResult(backup,
            [](link::Link& calc, link::TransferControl& control) { return calc.backup(&control); }),
        [this, backup, path](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            // Written beside the final name and renamed once whole.
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(backup->data(), static_cast<qint64>(backup->size())) != static_cast<qint64>(backup->size()) ||
                !file.commit()) {
                const QString failure = QString::fromStdString(
                    message(MessageId::SaveFailed, {path.toStdString(), file.errorString().toStdString()}));
                transferEnded(failure);
                prompt_.tell(failure.toStdString(), PromptIcon::Error);
                return;
            }
            transferEnded(text("linkBackedUp", Langue)
                              .arg(path, QString::fromStdString(
                                             link::tenthsOfSeconds(linkTransfer->seconds(), link::languageOf(Langue)))));
        });
}

void FrmP::restaurerCalc_Click() {
    if (linkTransfer->busy()) return;
    const QString path = askBackupPath(false);
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt_.tell(message(MessageId::OpenFailed, {path.toStdString(), file.errorString().toStdString()}),
                     PromptIcon::Error);
        return;
    }
    const QByteArray bytes = file.readAll();
    const VariableTable table = readVariableTable(Bytes(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!table.ok()) {
        prompt_.tell((path + QStringLiteral("\n") + EditorWidget::toDisplay(table.error)).toStdString(), PromptIcon::Error);
        return;
    }
    if (table.variables.empty()) {
        prompt_.tell(text("restoreEmpty", Langue).toStdString(), PromptIcon::Information);
        return;
    }
    const link::LinkOptions options = link::optionsFromSettingsFile(settings_.cheminIni());
    auto held = std::make_shared<std::vector<link::CalcVariable>>();
    transferStarted(text("linkListing", Langue));
    linkTransfer->startOnLink(
        options,
        link::keepingResult(held,
            [](link::Link& calc, link::TransferControl& control) { return calc.listVariables(&control); }),
        [this, members = table.variables, held, path, options](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            transferEnded({});
            restoreMembers(members, *held, path, options);
        });
}

void FrmP::restoreMembers(const std::vector<TableEntry>& members, const std::vector<link::CalcVariable>& held,
                          const QString& file, const link::LinkOptions& options) {
    auto chosen = std::make_shared<std::vector<TableEntry>>();
    bool replaceAll = false;
    for (const TableEntry& member : members) {
        const std::string name = member.folder + "\\" + member.name;
        const bool exists = std::any_of(held.begin(), held.end(),
                                        [&](const link::CalcVariable& v) { return v.qualifiedName() == name; });
        if (exists && !replaceAll) {
            QMessageBox question(QMessageBox::Question, windowTitle(), text("restoreQuestion", Langue).arg(shownName(name)),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::Cancel, this);
            question.setObjectName(QStringLiteral("restoreQuestion"));
            question.button(QMessageBox::Yes)->setText(QString::fromStdString(languageText("QtPrompt", "promptYes", 0, Langue)));
            question.button(QMessageBox::No)->setText(QString::fromStdString(languageText("QtPrompt", "promptNo", 0, Langue)));
            question.button(QMessageBox::YesToAll)->setText(text("restoreAll", Langue));
            question.button(QMessageBox::Cancel)
                ->setText(QString::fromStdString(languageText("QtPrompt", "promptCancel", 0, Langue)));
            runModal(question);
            const QAbstractButton* answer = question.clickedButton();
            if (!answer || answer == question.button(QMessageBox::Cancel)) return;
            if (answer == question.button(QMessageBox::No)) continue;
            replaceAll = answer == question.button(QMessageBox::YesToAll);
        }
        chosen->push_back(member);
    }
    if (chosen->empty()) return;
    transferStarted(text("linkRestoring", Langue).arg(QFileInfo(file).fileName()));
    linkTransfer->startOnLink(
        options,
        [chosen](link::Link& calc, link::TransferControl& control) {
            for (const TableEntry& member : *chosen) {
                const link::LinkStatus sent = calc.sendVariable(member, &control);
                if (!sent.ok()) return sent;
            }
            return link::LinkStatus{};
        },
        [this, count = chosen->size()](const link::LinkStatus& status) {
            if (!status.ok()) return transferFailed(status);
            transferEnded(text("linkRestored", Langue)
                              .arg(count)
                              .arg(QString::fromStdString(
                                  link::tenthsOfSeconds(linkTransfer->seconds(), link::languageOf(Langue)))));
        });
}

}  // namespace korvane
