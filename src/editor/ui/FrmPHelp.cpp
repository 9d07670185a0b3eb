// Help while writing in the main window: the caret's line and column and the
// command at the caret in the status bar, F1's help window, completion on
// Ctrl+Space, the live syntax check's mark, the -> >= <= /= != replacement, and the
// "Aller à" menu.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>

#include "editor/EditorContext.h"
#include "editor/WritingHelp.h"
#include "editor/ui/EditorWidget.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "files/SyntaxCheck.h"
#include "insert/ui/FrmCatalogue.h"
#include "shell/Languages.h"
#include "shell/ui/FrmP.h"

namespace korvane {
namespace {

// The live check waits for this pause in the typing.
constexpr int kLiveCheckDelay = 500;

QString syntaxOf(const CommandHelp& help) { return EditorWidget::toReadable(std::string(help.syntax)); }
QString descriptionOf(const CommandHelp& help, const std::string& langue) {
    return EditorWidget::toDisplay(std::string(commandLine(help, !isEnglish(langue))));
}

}  // namespace

void FrmP::buildHelpControls() {
    QFont small = font();
    small.setPointSizeF(8);
    LblSyntaxe = new StatusLabel("LblSyntaxe", statusBar());
    LblErreur = new StatusLabel("LblErreur", statusBar());
    LblPosition = new StatusLabel("LblPosition", statusBar());
    for (StatusLabel* label : {LblSyntaxe, LblErreur, LblPosition}) label->setFont(small);
    QPalette red = LblErreur->palette();
    red.setColor(QPalette::WindowText, QColor(200, 0, 0));
    LblErreur->setPalette(red);
    // Room for the longest position, so that the label does not jump while typing.
    LblPosition->setMinimumWidth(QFontMetrics(small).horizontalAdvance(QStringLiteral("Ligne 00000, Col 0000")));
    statusBar()->addWidget(LblSyntaxe, 1);
    statusBar()->addWidget(LblErreur, 1);
    statusBar()->addPermanentWidget(LblPosition);
    connect(RichTxt1, &QPlainTextEdit::cursorPositionChanged, this, &FrmP::refreshStatus);
    connect(RichTxt1, &QPlainTextEdit::textChanged, this, &FrmP::refreshStatus);

    // The live check runs once the typing pauses; every edit of the text or of the
    // name and folder fields starts the wait again.
    liveCheckTimer_ = new QTimer(this);
    liveCheckTimer_->setSingleShot(true);
    liveCheckTimer_->setInterval(kLiveCheckDelay);
    connect(liveCheckTimer_, &QTimer::timeout, this, &FrmP::runLiveCheck);
    for (QObject* source : std::initializer_list<QObject*>{RichTxt1, TxtNomFichier, TxtRep}) {
        if (auto* editor = qobject_cast<QPlainTextEdit*>(source))
            connect(editor, &QPlainTextEdit::textChanged, liveCheckTimer_, qOverload<>(&QTimer::start));
        else
            connect(static_cast<QLineEdit*>(source), &QLineEdit::textChanged, liveCheckTimer_, qOverload<>(&QTimer::start));
    }

    RichTxt1->setDigraphsEnabled(settings_.chargerOption("Digraphes"));

    // "Aller à" stands after the Edit menu.
    allerA = new QMenu(this);
    allerA->setObjectName(QStringLiteral("allerA"));
    menuBar()->insertMenu(commandMenus.empty() ? aide->menuAction() : commandMenus.front()->menuAction(), allerA);
    allerLigne = allerA->addAction(QString());
    allerLigne->setObjectName(QStringLiteral("allerLigne"));
    allerLigne->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    allerA->addSeparator();
    connect(allerLigne, &QAction::triggered, this, &FrmP::allerLigne_Click);
    connect(allerA, &QMenu::aboutToShow, this, &FrmP::fillGoToMenu);

    completerMot = edition->addAction(QString());
    completerMot->setObjectName(QStringLiteral("completerMot"));
    completerMot->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space));
    connect(completerMot, &QAction::triggered, this, &FrmP::completerMot_Click);
    aideCommande = new QAction(this);
    aideCommande->setObjectName(QStringLiteral("aideCommande"));
    aideCommande->setShortcut(QKeySequence(Qt::Key_F1));
    aide->insertAction(option_, aideCommande);
    aide->insertSeparator(option_);
    connect(aideCommande, &QAction::triggered, this, &FrmP::aideCommande_Click);

    // Built after the language controls (it extends the Help menu): its captions now.
    applyInterfaceLanguage();
}

QString FrmP::helpText(const char* row) const { return QString::fromStdString(languageText("FrmP", row, 0, Langue)); }

void FrmP::applyHelpLanguage() {
    // Kept: the position is worded on every caret move.
    positionFormat_ = helpText("statusPosition");
    refreshStatus();
    if (!LblErreur->text().isEmpty()) runLiveCheck();
    if (frmCatalogue_) frmCatalogue_->refreshHelp();
}

bool FrmP::digraphsEnabled() const { return RichTxt1->digraphsEnabled(); }

void FrmP::setDigraphsEnabled(bool on) {
    RichTxt1->setDigraphsEnabled(on);
    settings_.sauverOption("Digraphes", on);
}

void FrmP::setLiveCheckDelay(int milliseconds) { liveCheckTimer_->setInterval(milliseconds); }

void FrmP::refreshStatus() {
    if (!LblPosition || positionFormat_.isEmpty()) return;
    const QTextCursor c = RichTxt1->textCursor();
    LblPosition->showText(positionFormat_.arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
    const CommandAtCaret at =
        c.hasSelection() ? CommandAtCaret{} : commandAt(EditorWidget::fromDisplay(c.block().text()), c.positionInBlock());
    if (at.help) LblSyntaxe->showText(syntaxOf(*at.help), descriptionOf(*at.help, Langue));
    else LblSyntaxe->showText({});
}

void FrmP::runLiveCheck() {
    const SyntaxCheck c = checkSyntax(documentInput());
    if (c.ok) {
        RichTxt1->setErrorMark(0, {});
        LblErreur->showText({});
        return;
    }
    // Worded as the Edit menu's check words it.
    const QString shown = checkMessage(c);
    RichTxt1->setErrorMark(c.line, shown);
    LblErreur->showText(shown);
}

void FrmP::aideCommande_Click() {
    const QTextCursor c = RichTxt1->textCursor();
    const CommandAtCaret at = commandAt(EditorWidget::fromDisplay(c.block().text()), c.positionInBlock());
    if (!helpWindow) helpWindow = new CommandHelpPopup(RichTxt1);
    const QPoint below = RichTxt1->viewport()->mapToGlobal(RichTxt1->cursorRect().bottomLeft() + QPoint(0, 4));
    if (at.help) helpWindow->showAt(below, syntaxOf(*at.help), descriptionOf(*at.help, Langue));
    else helpWindow->showAt(below, {}, helpText("helpNoCommand"));
}

void FrmP::completerMot_Click() {
    const int caret = RichTxt1->caret();
    if (RichTxt1->selectionLength() > 0 || !inBodyWindow(caret, RichTxt1->length())) return;
    const QTextCursor c = RichTxt1->textCursor();
    const std::string line = EditorWidget::fromDisplay(c.block().text());
    const int start = wordStartBefore(line, c.positionInBlock());
    const std::string prefix = line.substr(static_cast<size_t>(start), static_cast<size_t>(c.positionInBlock() - start));
    std::vector<EditorWidget::CompletionItem> items;
    for (const Completion& word : completionsFor(prefix, programNames(nameField(), RichTxt1->text())))
        items.push_back({word.word, word.help ? syntaxOf(*word.help) + u'\n' + descriptionOf(*word.help, Langue) : QString()});
    if (items.empty()) return;
    RichTxt1->setFocus();
    RichTxt1->offerCompletions(items, caret - static_cast<int>(prefix.size()));
}

void FrmP::allerLigne_Click() {
    const std::string text = RichTxt1->text();
    FrmAllerLigne dialog(lineCount(text), lineColumnOf(text, RichTxt1->caret()).line, this);
    runModal(dialog);
    if (dialog.result() == QDialog::Accepted) caretToLine(dialog.line());
}

void FrmP::fillGoToMenu() {
    // "Ligne..." and its separator stay; the program's entries are read again.
    const QList<QAction*> old = allerA->actions();
    for (qsizetype i = 2; i < old.size(); ++i) {
        allerA->removeAction(old[i]);
        old[i]->deleteLater();
    }
    for (const ProgramName& name : programNames(nameField(), RichTxt1->text())) {
        if (name.kind != NameKind::Label && name.kind != NameKind::Defined) continue;
        QString caption = EditorWidget::toReadable(name.heading);
        caption.replace(u'&', QStringLiteral("&&"));
        QAction* entry = allerA->addAction(caption + u'\t' + QString::number(name.line));
        const int line = name.line;
        connect(entry, &QAction::triggered, this, [this, line] { caretToLine(line); });
    }
}

}  // namespace korvane
