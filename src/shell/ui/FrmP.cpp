#include "shell/ui/FrmP.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include "editor/Clipboard.h"
#include "editor/Colouring.h"
#include "editor/ui/EditorWidget.h"
#include "insert/CommandMenus.h"
#include "insert/Insertion.h"
#include "insert/ui/CommandMenuBuilder.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "files/FileFlows.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "shell/Layout.h"
#include "shell/ui/WindowPlacement.h"
#include "shell/ui/WrappingButton.h"

namespace korvane {
namespace {

int px(int twips) { return twips / kTwipsPerPixel; }
QRect twipsRect(int left, int top, int width, int height) { return {px(left), px(top), px(width), px(height)}; }

// The built-in client area, 6495 x 6315 twips.
constexpr int kClientWidth = 6495;
constexpr int kClientHeight = 6315;
constexpr int kStartupEditorMargin = 3100;
// The editor lines that the first window shows at the stored font size.
constexpr int kFirstLines = 20;

}  // namespace

FrmP::FrmP(Settings settings, PromptService& prompt, QWidget* parent)
    : QMainWindow(parent), settings_(std::move(settings)), prompt_(prompt) {
    runModal = [](QDialog& dialog) { dialog.exec(); };
    buildControls();
    buildPrintControls();
    buildCheckControls();
    buildLinkControls();
    buildLanguageControls();
    buildHelpControls();
}

FrmP::~FrmP() = default;

void FrmP::buildControls() {
    setWindowTitle(QStringLiteral("Korvane"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    // The fixed twips geometry was drawn for small dialog text.
    QFont small = font();
    small.setPointSizeF(8);
    central->setFont(small);

    fichier = menuBar()->addMenu(QStringLiteral("Fichier"));
    nouveau = fichier->addAction(QStringLiteral("Nouveau"));
    enregistrer = fichier->addAction(QStringLiteral("Enregistrer"));
    enregistrer->setEnabled(false);
    fichier->addSeparator();
    quitter = fichier->addAction(QStringLiteral("Quitter"));
    connect(nouveau, &QAction::triggered, this, &FrmP::nouveau_Click);
    // Closing runs the shutdown, which a failed save stops.
    connect(quitter, &QAction::triggered, this, &QWidget::close);

    buildEditMenu();

    Picture1 = new QFrame(central);
    Picture1->setGeometry(twipsRect(0, 0, 5535, 495));
    LblRep = new QLabel(Picture1);
    LblRep->setGeometry(twipsRect(120, 120, 855, 255));
    TxtRep = new QLineEdit(QStringLiteral("main"), Picture1);
    TxtRep->setGeometry(twipsRect(960, 60, 855, 350));
    TxtRep->setMaxLength(kNameLimit);
    Label6 = new QLabel(Picture1);
    Label6->setGeometry(twipsRect(2040, 120, 495, 255));
    cmdColor = new WrappingButton(QStringLiteral("Actualiser la colorisation"), Picture1);
    cmdColor->setGeometry(twipsRect(3815, 0, 1335, 450));
    connect(cmdColor, &QPushButton::clicked, this, &FrmP::cmdColor_Click);

    // The size list lies over the strip but belongs to the window.
    CboTaille = new QComboBox(central);
    CboTaille->addItems({"8", "10", "11", "12", "14", "16", "18", "20"});
    CboTaille->setCurrentIndex(1);
    CboTaille->setGeometry(twipsRect(2640, 120, 615, 315));
    CboTaille->setToolTip(QStringLiteral("Changer la taille du texte"));
    CboTaille->raise();
    connect(CboTaille, &QComboBox::activated, this, &FrmP::CboTaille_Click);

    CmdNouveau = new QPushButton(central);
    CmdNouveau->setGeometry(twipsRect(120, 480, 615, 495));
    CmdNouveau->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    CmdNouveau->setToolTip(QStringLiteral("Nouveau"));
    connect(CmdNouveau, &QPushButton::clicked, this, &FrmP::nouveau_Click);
    // The desktop's icons where its theme has them, else a drawn symbol.
    const struct {
        QPushButton*& button;
        int left;
        const char* icon;
        const char* symbol;
        const char* tip;
        void (FrmP::*handler)();
    } clipboardButtons[] = {{CmdCouper, 1920, "edit-cut", "\u2702", "Couper", &FrmP::couper_Click},
                            {CmdCopier, 2520, "edit-copy", "\u2398", "Copier", &FrmP::copier_Click},
                            {CmdColler, 3120, "edit-paste", "\u2399", "Coller", &FrmP::coller_Click}};
    for (const auto& b : clipboardButtons) {
        b.button = new QPushButton(central);
        b.button->setGeometry(twipsRect(b.left, 480, 615, 495));
        if (QIcon::hasThemeIcon(QString::fromUtf8(b.icon))) b.button->setIcon(QIcon::fromTheme(QString::fromUtf8(b.icon)));
        else b.button->setText(QString::fromUtf8(b.symbol));
        b.button->setToolTip(QString::fromUtf8(b.tip));
        b.button->setFocusPolicy(Qt::NoFocus);  // the editor keeps its selection
        connect(b.button, &QPushButton::clicked, this, b.handler);
    }

    TxtNomFichier = new QLineEdit(central);
    TxtNomFichier->setGeometry(twipsRect(120, 1920, 4575, 240));
    TxtNomFichier->installEventFilter(this);
    connect(TxtNomFichier, &QLineEdit::textChanged, this, &FrmP::TxtNomFichier_Change);

    RichTxt1 = new EditorWidget(central);
    RichTxt1->setGeometry(twipsRect(120, kEditorTop, 4575, 1575));
    // The title's "*" follows the edits; one comparison per burst of changes
    // (colouring changes formats many times per keystroke).
    titleTimer_ = new QTimer(this);
    titleTimer_->setSingleShot(true);
    titleTimer_->setInterval(0);
    connect(titleTimer_, &QTimer::timeout, this, &FrmP::refreshTitle);
    connect(RichTxt1, &QPlainTextEdit::textChanged, titleTimer_, qOverload<>(&QTimer::start));
    connect(TxtNomFichier, &QLineEdit::textChanged, titleTimer_, qOverload<>(&QTimer::start));
    connect(TxtRep, &QLineEdit::textChanged, titleTimer_, qOverload<>(&QTimer::start));
    connect(RichTxt1, &EditorWidget::commandRequested, this, &FrmP::runEditorCommand);
    connect(RichTxt1, &EditorWidget::pasteRequested, this, [this](const std::string& text) {
        MemoryClipboard dropped;
        dropped.setText(text);
        EditorContext context = editorContext();
        korvane::coller(context, dropped);
    });
    connect(RichTxt1, &EditorWidget::nameFieldWanted, this, [this] {
        TxtNomFichier->setCursorPosition(0);
        TxtNomFichier->setFocus();
    });
    commandMenus = buildCommandMenus(menuBar(), nullptr, Langue,
                                     [this](const MenuEntry& entry) { ajoutText(entry.text, entry.caret); });

    PrgsBar = new QProgressBar(central);
    PrgsBar->setGeometry(twipsRect(120, 6120, 2415, 220));
    PrgsBar->setTextVisible(false);
    statusBar();

    buildFileControls();
    buildToolStrip();

    setMinimumWidth(px(kMinimumWindowWidth));
    resize(px(kClientWidth), px(kClientHeight) + menuBar()->sizeHint().height());
}

std::string FrmP::nameField() const { return EditorWidget::fromDisplay(TxtNomFichier->text()); }
std::string FrmP::folderField() const { return EditorWidget::fromDisplay(TxtRep->text()); }
void FrmP::setNameField(const std::string& calc) { TxtNomFichier->setText(EditorWidget::toDisplay(calc)); }
void FrmP::setFolderField(const std::string& calc) { TxtRep->setText(EditorWidget::toDisplay(calc)); }

void FrmP::load(const std::string& commandLine) {
    loading = true;
    show();

    // The first run is only recorded: restarting the computer was the original
    // installer's concern.
    if (firstRunPending(settings_)) markFirstRunDone(settings_);

    const StartupSettings read = readStartupSettings(settings_);
    // Exactly "En" is English; anything else, the missing-key marker included, is
    // French and is written back as read.
    Langue = read.langue;
    applyInterfaceLanguage();

    if (read.taillePolice) CboTaille->setCurrentIndex(*read.taillePolice);
    CboTaille_Click();

    PrgmFunc = read.prgmFunc;
    OpenChxPrgmFunc = read.openChxPrgmFunc;
    restoreToolWindows(read);

    layoutRoutine();
    restoreQuickCaptions(read);
    std::optional<WindowGeometry> stored = read.mainWindow;
    if (stored) setOuterGeometry(*stored);
    else placeFirstWindow(kFirstLines);
    placeClaim_ = claimOwnPlace(*this, settings_.cheminIni(), stored);
    layoutRoutine();
    if (frameGeometry() == geometry()) settleFrames(stored);
    Picture1->resize(frameGeometry().width(), Picture1->height());
    RichTxt1->resize(RichTxt1->width(), std::max(0, px(frameGeometry().height() * kTwipsPerPixel - kStartupEditorMargin)));

    choixPermis = false;
    newPrgm();
    choixPermis = true;
    RichTxt1->setCaret(kFirstCaret);

    // The last file, then the one named on the command line; "1" is none.
    if (!read.chemin.empty() && read.chemin != "1") openRoutine(true, read.chemin);
    openCommandLine(commandLine);
    startRecovery();
    RichTxt1->setFocus();
    loading = false;
}

void FrmP::placeFirstWindow(int lines) {
    // Every menu shows in the menu bar: none behind its overflow arrow.
    if (const int menus = menuBar()->sizeHint().width(); menus > width()) resize(menus, height());
    const int viewport = lines * QFontMetrics(RichTxt1->font()).lineSpacing() +
                         2 * static_cast<int>(RichTxt1->document()->documentMargin());
    const int editor = viewport + 2 * RichTxt1->frameWidth() + RichTxt1->horizontalScrollBar()->sizeHint().height();
    // The layout gives the editor the outer height less its margin; the outer
    // height is the client's until the window manager adds its frame.
    const int outer = editor + (kEditorMargin + kTwipsPerPixel - 1) / kTwipsPerPixel;
    if (outer > frameGeometry().height()) resize(width(), height() + outer - frameGeometry().height());

    // The main window and its docked tool windows are centred together on the screen.
    const QScreen* shownOn = screen();
    if (!shownOn) return;
    const QRect area = shownOn->availableGeometry();
    int groupWidth = frameGeometry().width();
    int groupHeight = frameGeometry().height();
    if (frmCatalogue_ && frmCatalogue_->isVisible() && frmCatalogue_->isLocked)
        groupWidth += frmCatalogue_->frameGeometry().width();
    if (frmChar_ && frmChar_->isVisible() && frmChar_->isLocked) groupHeight += frmChar_->frameGeometry().height();
    move(area.left() + std::max(0, (area.width() - groupWidth) / 2),
         area.top() + std::max(0, (area.height() - groupHeight) / 2));
}

void FrmP::openCommandLine(const std::string& commandLine) {
    if (commandLine.empty()) return;
    const std::optional<std::string> path = commandLineFile(commandLine);
    if (!path) {
        prompt_.tell(message(MessageId::NotTi89File), PromptIcon::Information);
        return;
    }
    openRoutine(true, *path);
}

void FrmP::unload() {
    if (unloaded_) return;
    // A save that failed keeps the window open, so the text is not lost.
    // Unsaved work is saved or given up on purpose; "Annuler" keeps the window.
    if (!saveBeforeReplacing()) return;
    unloaded_ = true;
    placeClaim_.reset();
    closeRecovery();

    ShutdownSettings state;
    state.taillePolice = CboTaille->currentIndex();
    state.prgmFunc = PrgmFunc;
    state.openChxPrgmFunc = OpenChxPrgmFunc;
    state.chemin = document.path;
    const WindowGeometry g = outerGeometry();
    state.xFrmP = *g.left;
    state.yFrmP = *g.top;
    state.largeurFrmP = *g.width;
    state.hauteurFrmP = *g.height;
    state.langue = Langue;
    storeToolWindows(state);
    writeShutdownSettings(settings_, state);
    closeToolWindows();
}

void FrmP::closeEvent(QCloseEvent* event) {
    unload();
    if (unloaded_) event->accept();
    else event->ignore();
}

void FrmP::nouveau_Click() {
    if (!saveBeforeReplacing()) return;
    if (!newPrgm()) return;
    setDocumentPath({});
}

bool FrmP::newPrgm() {
    if (OpenChxPrgmFunc && choixPermis) {
        FrmChxPrgmFunc dialog(PrgmFunc, OpenChxPrgmFunc, this);
        runModal(dialog);
        // Escape or the close box: no new Document, and the question is still asked
        // next time even when "Ne plus afficher." was ticked.
        if (dialog.result() != QDialog::Accepted) {
            OpenChxPrgmFunc = true;
            return false;
        }
    }
    enregistrer->setEnabled(false);
    const ProgramKind kind = PrgmFunc ? ProgramKind::Program : ProgramKind::Function;
    RichTxt1->setPlainText(newDocumentText(kind));
    document.variableTrailer = trailerFor(kind);
    setNameField(kNewName);
    setFolderField(kNewFolder);
    document.variableHeader = newDocumentHeader();
    document.oneExpression = false;
    document.tokenizedFile = true;
    colorierTout();
    markSaved();
    return true;
}

void FrmP::colorierTout() { korvane::colorierTout(*RichTxt1, posCurseur, CboTaille->currentText().toStdString()); }

EditorContext FrmP::editorContext() { return {*RichTxt1, posCurseur, CboTaille->currentText().toStdString()}; }

void FrmP::ajoutText(const std::string& motCle, int txtFocus) {
    EditorContext context = editorContext();
    korvane::ajoutText(context, motCle, txtFocus);
    // What is typed next goes on after the insertion, even when it came from a
    // tool window, which then had the keyboard.
    activateWindow();
    RichTxt1->setFocus();
}

void FrmP::CboTaille_Click() {
    bool ok = false;
    const double size = CboTaille->currentText().toDouble(&ok);
    if (ok) RichTxt1->setFontSize(size);
    colorierTout();
}

void FrmP::cmdColor_Click() {
    colorierTout();
    RichTxt1->setFocus();
}

void FrmP::TxtNomFichier_Change() {
    if (correctingName_) return;
    correctingName_ = true;
    const QString shown = TxtNomFichier->text();
    const QString clean = EditorWidget::sanitized(shown);
    const auto corrected = correctNameField(EditorWidget::fromDisplay(clean), TxtNomFichier->cursorPosition());
    if (corrected.changed || clean != shown) {
        TxtNomFichier->setText(EditorWidget::toDisplay(corrected.text));
        TxtNomFichier->setCursorPosition(corrected.caret);
    }
    correctingName_ = false;
}

bool FrmP::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TxtNomFichier && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool atEnd = TxtNomFichier->cursorPosition() == TxtNomFichier->text().size();
        if (key->key() == Qt::Key_Down || (key->key() == Qt::Key_Right && atEnd)) {
            RichTxt1->setCaret(kFirstCaret);
            RichTxt1->setFocus();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmP::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutRoutine();
}

void FrmP::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);


    layoutRoutine();
}

void FrmP::layoutRoutine() {
    // A docked window that moves asks for a re-dock; the run in progress places it.
    if (!RichTxt1 || layingOut_) return;
    layingOut_ = true;
    LayoutInput in;
    in.main = outerTwips(*this);
    in.editorHeight = RichTxt1->height() * kTwipsPerPixel;
    describeToolWindows(in);
    const MainLayout l = layoutFor(in);
    giveRoomToToolWindows(l);
    // The minimum is the outer width: the frame's own width comes off the client's.
    const int minimum = std::max(0, px(kMinimumWindowWidth) - (frameGeometry().width() - width()));
    if (minimumWidth() != minimum) setMinimumWidth(minimum);
    if (l.editorWidth > 0) RichTxt1->resize(px(l.editorWidth), RichTxt1->height());
    Picture1->resize(px(l.stripWidth), Picture1->height());
    if (l.nameFieldWidth > 0) TxtNomFichier->resize(px(l.nameFieldWidth), TxtNomFichier->height());
    if (l.editorHeight) RichTxt1->resize(RichTxt1->width(), px(*l.editorHeight));
    PrgsBar->move(PrgsBar->x(), px(l.progressTop));
    placeToolWindows(l);
    layingOut_ = false;
}

WindowGeometry FrmP::outerGeometry() const {
    const QRect f = frameGeometry();
    return {static_cast<float>(f.left() * kTwipsPerPixel), static_cast<float>(f.top() * kTwipsPerPixel),
            static_cast<float>(f.width() * kTwipsPerPixel), static_cast<float>(f.height() * kTwipsPerPixel)};
}

void FrmP::setOuterGeometry(const WindowGeometry& twips) {
    // Stored as the outer frame, so that the window does not grow at each restart.
    TwipsRect outer = outerTwips(*this);
    if (twips.left) outer.left = static_cast<int>(*twips.left);
    if (twips.top) outer.top = static_cast<int>(*twips.top);
    if (twips.width) outer.width = static_cast<int>(*twips.width);
    if (twips.height) outer.height = static_cast<int>(*twips.height);
    placeOuter(*this, outer);
}

}  // namespace korvane
