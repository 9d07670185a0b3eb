#pragma once
// The main window: menu bar, tool strip, name and folder fields, the editor. Its
// load handler is the whole start-up and its unload handler the whole shutdown.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorContext.h"
#include "editor/ui/QtClipboard.h"
#include "files/Detokenizer.h"
#include "files/Document.h"
#include "files/RecoveryCopy.h"
#include "insert/ToolStrip.h"
#include "shell/IniStore.h"
#include "shell/Layout.h"
#include "shell/Prompt.h"
#include "shell/Startup.h"

class QAction;
class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;

namespace korvane {

class CommandHelpPopup;
class EditorWidget;
class FrmCatalogue;
class FrmChar;
class FrmEnregistrer;
class FrmImprime;
class FrmParcourir;
class FrmSaveTok;
class LinkTransfer;
class FrmEcran;
class FrmVariables;
struct TableEntry;
struct OpenedFile;
struct SyntaxCheck;
namespace link {
struct CalcVariable;
struct LinkOptions;
struct LinkStatus;
}
class FrmRechercher;
class PlaceClaim;
class StatusLabel;
struct MenuEntry;
enum class EditorCommand;

class FrmP : public QMainWindow {
    Q_OBJECT
public:
    FrmP(Settings settings, PromptService& prompt, QWidget* parent = nullptr);
    ~FrmP() override;

    // Start-up: restores the previous run and starts the first Document.
    // `commandLine` is the whole argument text as one string.
    void load(const std::string& commandLine);
    // Shutdown: writes every setting back and closes the other windows. Runs once,
    // from "Quitter" or the close box alike.
    void unload();

    // Shared operations of the main window.
    void colorierTout();
    // Starts a new Document; false when the kind question was cancelled, which
    // leaves the Document as it was.
    bool newPrgm();
    void layoutRoutine();
    void ajoutText(const std::string& motCle, int txtFocus);
    // What the editing commands share with the window.
    EditorContext editorContext();

    // Runs a dialog modally; tests replace it to answer without an event loop.
    std::function<void(QDialog&)> runModal;

    // State held for the whole run.
    std::string Langue = "1";
    bool PrgmFunc = true;
    bool OpenChxPrgmFunc = true;
    bool loading = false;
    bool choixPermis = true;
    int posCurseur = 0;
    Document document;  // its path is the setting Chemin

    // Controls, named as the program names them.
    QMenu* fichier = nullptr;
    QAction* nouveau = nullptr;
    QAction* enregistrer = nullptr;
    QAction* quitter = nullptr;
    QMenu* edition = nullptr;
    QAction* annuler = nullptr;
    QAction* retablir = nullptr;
    QAction* copier = nullptr;
    QAction* couper = nullptr;
    QAction* coller = nullptr;
    QAction* selectall = nullptr;
    QAction* rechercher = nullptr;
    QAction* indenter = nullptr;
    std::vector<QMenu*> commandMenus;
    QFrame* Picture1 = nullptr;
    QLabel* LblRep = nullptr;
    QLineEdit* TxtRep = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* CboTaille = nullptr;
    QPushButton* cmdColor = nullptr;
    QPushButton* CmdNouveau = nullptr;
    QPushButton* CmdCouper = nullptr;
    QPushButton* CmdCopier = nullptr;
    QPushButton* CmdColler = nullptr;
    QPointer<FrmRechercher> searchWindow;
    QLineEdit* TxtNomFichier = nullptr;
    EditorWidget* RichTxt1 = nullptr;
    QProgressBar* PrgsBar = nullptr;

    // The name and folder fields as calculator codes.
    std::string nameField() const;
    std::string folderField() const;
    void setNameField(const std::string& calc);
    void setFolderField(const std::string& calc);

    const Settings& settings() const { return settings_; }

    // ---- Opening and saving (defined in files/ui/FrmPFiles.cpp) ----
    // The open routine: from the browser after the save question, or, from start-up,
    // the file `path` without a question.
    void openRoutine(bool fromStartup, const std::string& path = {});
    // The save routine: writes the Document, tokenized or in text form, to its
    // path or where the save-as browser says; false when nothing was written (a
    // write that failed, or the browser cancelled), the Document keeping its path.
    bool saveRoutine(bool tokenize);
    // The save question of the tool button Save; true when the Document was saved.
    bool CmdSauver_Click();
    // The save question before New, Open, Import, a drop and shutdown, asked only
    // when there are unsaved changes; false when the command must stop ("Annuler",
    // Escape, the close box, or a save that did not happen).
    bool saveBeforeReplacing();
    // Unsaved changes: the text, name or folder differ from the last created,
    // opened or saved state.
    bool hasUnsavedChanges() const;
    // The current state becomes the saved one.
    void markSaved();
    // The Document as the writer, the check and the link take it.
    VariableFileInput documentInput() const;
    // The dialogs, loaded on first use and again after their close box.
    FrmSaveTok& frmSaveTok();
    FrmEnregistrer& frmEnregistrer();
    FrmParcourir& frmParcourir();

    QAction* ouvrir = nullptr;
    QAction* enregistrerSous = nullptr;
    QPushButton* CmdOuvrir = nullptr;
    QPushButton* CmdSauver = nullptr;
    bool toExistingPath = false;  // the save may reuse the Document's path
    Detokenizer detokenizer;
    // Where a tokenized file's text is put while it is read.
    std::string temporaryFolder;

    // ---- Interface language, options and about box (defined in shell/ui/FrmPLanguage.cpp) ----
    // Set `Langue` and give every window, open or opened later, its texts.
    void appliquerFr();
    void appliquerEn();
    QMenu* aide = nullptr;
    QAction* option_ = nullptr;
    QAction* about = nullptr;

    // ---- Printing (defined in editor/ui/FrmPPrint.cpp) ----
    QAction* imprimer = nullptr;
    QPointer<FrmImprime> printWindow;

    // ---- Link with the calculator (defined in files/ui/FrmPLink.cpp) ----
    QAction* envoyer = nullptr;
    QAction* recevoir = nullptr;
    StatusLabel* LblLiaison = nullptr;  // what the link is doing, or how it ended
    QPushButton* CmdStopLink = nullptr;  // stops the transfer under way
    LinkTransfer* linkTransfer = nullptr;
    // Send and run (F5), the calculator's screen and variables, backup and restore.
    QAction* envoyerExecuter = nullptr;
    QAction* ecranCalc = nullptr;
    QAction* variablesCalc = nullptr;
    QAction* sauvegarderCalc = nullptr;
    QAction* restaurerCalc = nullptr;
    // The screen and variables windows, made on first use.
    FrmEcran& frmEcran();
    FrmVariables& frmVariables();
    // Where a backup goes (`save`) or which group file is restored; "" when the
    // person cancels. File dialogs by default.
    std::function<QString(bool save)> askBackupPath;

    // ---- Syntax check and import (defined in files/ui/FrmPCheck.cpp) ----
    QAction* verifierSyntaxe = nullptr;
    QAction* importer = nullptr;
    // Puts the caret at the start of an editor line (line 1: the name field).
    void caretToLine(int line);
    // The check's error as the message box says it: "Ligne 3 : ...".
    QString checkMessage(const SyntaxCheck& check) const;

    // ---- Tool strip and tool windows (defined in insert/ui/FrmPToolStrip.cpp) ----
    // The catalogue and the palette, created docked on first use and again after
    // they were closed.
    FrmCatalogue& frmCatalogue();
    FrmChar& frmChar();
    // The configurable buttons' captions, calculator codes ("&&" is the ampersand).
    std::string quickCaption(QuickButtonKind kind) const;
    void setQuickCaption(QuickButtonKind kind, const std::string& caption);
    // Where catalogue.dat is looked for, first found first; set before load.
    std::vector<std::string> catalogueFiles;
    QPushButton* ChkCat = nullptr;
    QPushButton* ChkChar = nullptr;
    QPushButton* CmdGreek = nullptr;
    QPushButton* CmdMath = nullptr;
    QPushButton* CmdPonctuation = nullptr;
    QPushButton* CmdSpecial = nullptr;
    QPushButton* CmdCatalog = nullptr;
    std::array<QLabel*, 5> quickLabels{};
    bool catalogOpen = false;
    bool charSpecialOpen = false;
    bool catDocked = true;
    bool charDocked = true;
    int catLeft = 0;
    int catTop = 0;
    int catWidth = 0;
    int catHeight = 0;
    int charLeft = 0;
    int charTop = 0;

    // ---- Help while writing (defined in editor/ui/FrmPHelp.cpp) ----
    QMenu* allerA = nullptr;           // "Aller à": a line, then the labels and definitions
    QAction* allerLigne = nullptr;     // Ctrl+G
    QAction* completerMot = nullptr;   // Ctrl+Space
    QAction* aideCommande = nullptr;   // F1
    StatusLabel* LblPosition = nullptr;
    StatusLabel* LblSyntaxe = nullptr;
    StatusLabel* LblErreur = nullptr;
    QPointer<CommandHelpPopup> helpWindow;
    // The -> >= <= /= != replacement, stored in the settings file at once.
    bool digraphsEnabled() const;
    void setDigraphsEnabled(bool on);
    // The pause after the last edit before the live syntax check runs.
    void setLiveCheckDelay(int milliseconds);
    // The caret's line and column and the command at the caret, in the status bar.
    void refreshStatus();
    // The live syntax check: the first error's line marked, its message in the status bar.
    void runLiveCheck();

    // ---- Recovery copy of unsaved work (defined in files/ui/FrmPRecovery.cpp) ----
    // Where the copies are kept; empty keeps none. Set before load.
    std::string recoveryFolder;
    // The pause after the last edit before the copy is written; a copy is never
    // more than 5 s behind the first edit it has not saved.
    void setRecoveryDelay(int milliseconds);
    // This window's copy, whether it exists or not; empty without a folder.
    std::string recoveryCopyPath() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Back in front: the Document's file is read again if another program changed it.
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- Opening and saving (defined in files/ui/FrmPFiles.cpp) ----
    void buildFileControls();
    void enregistrer_Click();
    void enregistrerSous_Click();
    void saveShortcut();
    void openFile(const std::string& path);
    // The Document becomes the program read; `path` is its file, empty when Save
    // must ask where (a group's member, a program received from the calculator).
    void showOpened(const OpenedFile& opened, const std::string& path);
    void openDropped(const std::string& path);
    void setDocumentPath(const std::string& path);
    DocumentState documentState() const;
    void refreshTitle();
    // The save-as browser's first name: the file's, else the variable's.
    std::string proposedFileName() const;
    // The save question, prepared for the Document and titled with its file or name.
    FrmSaveTok& saveQuestion(bool withCancel);
    // Reads the unchanged Document's file again when it changed on disk; asks first
    // when the Document has unsaved changes.
    void checkFileOnDisk();
    bool checkingDisk_ = false;
    QTimer* titleTimer_ = nullptr;
    FrmSaveTok* frmSaveTok_ = nullptr;
    FrmEnregistrer* frmEnregistrer_ = nullptr;
    FrmParcourir* frmParcourir_ = nullptr;

    // ---- Interface language, options and about box (defined in shell/ui/FrmPLanguage.cpp) ----
    void buildLanguageControls();
    void applyInterfaceLanguage();
    void option_Click();
    void about_Click();

    // ---- Printing (defined in editor/ui/FrmPPrint.cpp) ----
    void buildPrintControls();
    void imprimer_Click();

    // ---- Link with the calculator (defined in files/ui/FrmPLink.cpp) ----
    void buildLinkControls();
    void envoyer_Click();
    void recevoir_Click();
    // Receives a variable of the listing just made, with the link that made it.
    void receiveFromCalculator(const link::CalcVariable& variable, const link::LinkOptions& options);
    // The window while a transfer runs: progress, what happens, a way to stop it.
    void transferStarted(const QString& what);
    // Back to rest, saying how it ended.
    void transferEnded(const QString& what);
    // A failure is told in a message box and stays in the status bar; a cancel only there.
    void transferFailed(const link::LinkStatus& status);
    // The Document as the calculator takes it, or false once the check's message is told.
    bool documentEntry(TableEntry& entry);
    void envoyerExecuter_Click();
    // Runs `call` ("main\hi(1,2)"), then takes the screen after the options' delay.
    void runOnCalculator(const std::string& call, const link::LinkOptions& options);
    void takeScreen(const QString& ran, const link::LinkOptions& options);
    void sauvegarderCalc_Click();
    void restaurerCalc_Click();
    // Sends the members of the group file `file`, asking before replacing one that
    // the calculator holds (`held`).
    void restoreMembers(const std::vector<TableEntry>& members, const std::vector<link::CalcVariable>& held,
                        const QString& file, const link::LinkOptions& options);
    QPointer<FrmEcran> frmEcran_;
    QPointer<FrmVariables> frmVariables_;

    // ---- Syntax check and import (defined in files/ui/FrmPCheck.cpp) ----
    void buildCheckControls();
    void verifierSyntaxe_Click();
    void importer_Click();

    // ---- Tool strip and tool windows (defined in insert/ui/FrmPToolStrip.cpp) ----
    void buildToolStrip();
    void ChkCat_Click();
    void ChkChar_Click();
    void restoreToolWindows(const StartupSettings& read);
    void restoreQuickCaptions(const StartupSettings& read);
    void storeToolWindows(ShutdownSettings& state);
    void closeToolWindows();
    void settleFrames(std::optional<WindowGeometry> stored);
    // Where start-up put a floating tool window, placed again once it is framed.
    std::optional<TwipsRect> floatingCatalogue_;
    std::optional<TwipsRect> floatingPalette_;
    void describeToolWindows(LayoutInput& in) const;
    // Keeps the shown docked windows on the screen: the window's largest size, and
    // its frame when it is as large as the screen.
    void giveRoomToToolWindows(const MainLayout& layout);
    void placeToolWindows(const MainLayout& layout);
    QPointer<FrmCatalogue> frmCatalogue_;
    QPointer<FrmChar> frmChar_;
    std::array<std::string, 5> quickCaptions_;
    bool catalogueMessageShown_ = false;

    // ---- Edit menu (defined in editor/ui/FrmPEdit.cpp) ----
    void buildEditMenu();
    void runEditorCommand(EditorCommand command);
    void copier_Click();
    void couper_Click();
    void coller_Click();
    void selectall_Click();
    void rechercher_Click();
    void indenter_Click();
    void annuler_Click();
    void retablir_Click();
    void recolourKeepingText();

    // ---- Help while writing (defined in editor/ui/FrmPHelp.cpp) ----
    void buildHelpControls();
    void applyHelpLanguage();
    void aideCommande_Click();
    void completerMot_Click();
    void allerLigne_Click();
    void fillGoToMenu();
    QString helpText(const char* row) const;
    QTimer* liveCheckTimer_ = nullptr;
    QString positionFormat_;

    // ---- Recovery copy of unsaved work (defined in files/ui/FrmPRecovery.cpp) ----
    // From load: this window's copy, then the copies that Korvanes no longer running left.
    void startRecovery();
    void offerLeftCopies();
    void restoreRecoveryCopy(const RecoveryCopy& copy);
    void scheduleRecoveryCopy();
    void writeRecoveryCopy();
    // Saved, or given up on purpose: the copy goes.
    void dropRecoveryCopy();
    // A normal quit: the copy and its lock go.
    void closeRecovery();
    std::unique_ptr<RecoveryStore> recovery_;
    QTimer* recoveryTimer_ = nullptr;
    std::chrono::steady_clock::time_point recoveryPendingSince_;
    int recoveryDelay_ = 1000;
    bool recoveryFailureShown_ = false;

    void buildControls();
    void nouveau_Click();
    void CboTaille_Click();
    void cmdColor_Click();
    void TxtNomFichier_Change();
    void openCommandLine(const std::string& commandLine);
    // Without a stored geometry: the window grows to show `lines` editor lines and
    // stands, with its docked tool windows, in the middle of the screen.
    void placeFirstWindow(int lines);
    void setOuterGeometry(const WindowGeometry& twips);
    WindowGeometry outerGeometry() const;

    Settings settings_;
    // Holds the place where this window opened, so that another Korvane opens beside it.
    std::unique_ptr<PlaceClaim> placeClaim_;
    PromptService& prompt_;
    QtClipboard clipboard_;
    bool unloaded_ = false;
    bool layingOut_ = false;
    bool correctingName_ = false;
};

}  // namespace korvane
