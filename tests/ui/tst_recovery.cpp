// The recovery copy in the main window, on the offscreen platform: a Korvane killed
// with SIGKILL after typing gives its unsaved Document back to the next start; save,
// a discard the user chose and a normal quit remove the copy; a damaged copy is
// told and set aside; windows running side by side keep their copies to themselves.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <signal.h>

#include <filesystem>

#include "editor/ui/EditorWidget.h"
#include "files/Messages.h"
#include "files/RecoveryCopy.h"
#include "files/VariableFile.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/QtPrompt.h"
#include "support/ModalScript.h"
#include "support/ScratchDir.h"

using namespace korvane;
namespace fs = std::filesystem;
using test::ScratchDir;

namespace {

constexpr const char* kTypingChild = "--type-and-wait";

// The files of a folder with this ending, sorted.
std::vector<std::string> filesEndingWith(const std::string& folder, const std::string& ending) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().string();
        if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            found.push_back(name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<RecoveryCopy> readCopy(const std::string& path) {
    return decodeRecoveryCopy(ScratchDir::read(path));
}

// Selects a line field's text with the keyboard and types over it.
void typeOver(QLineEdit* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

// The part of the user in the main window that the killed child plays: opens the
// file its settings name, types in the editor and both fields, writes what the
// editor then holds to `truth` and waits to be killed.
int typingChild(int argc, char** argv) {
    QApplication app(argc, argv);
    ScriptedPrompt prompt;
    FrmP w(Settings(argv[2]), prompt);
    w.recoveryFolder = defaultRecoveryFolder();
    w.load({});
    if (!prompt.shown.empty()) return 3;
    w.RichTxt1->setFocus();
    QTest::keyClick(w.RichTxt1, Qt::Key_End);
    QTest::keyClick(w.RichTxt1, Qt::Key_Return);
    QTest::keyClicks(w.RichTxt1, "disp \"caf");
    // A letter beyond ASCII, as a keyboard layout that has it types it.
    QTest::sendKeyEvent(QTest::Click, w.RichTxt1, Qt::Key_Eacute, QString::fromUtf8("\u00e9"), Qt::NoModifier);
    QTest::keyClicks(w.RichTxt1, "\",42");
    typeOver(w.TxtNomFichier, "essai()");
    typeOver(w.TxtRep, "jeux");
    ScratchDir::write(argv[3], w.RichTxt1->text());
    return app.exec();
}

}  // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScratchDir> scratch;
    std::string ini() const { return scratch->file("Korvane.INI"); }
    std::string folder() const { return scratch->file("state/korvane"); }
    std::string file(const std::string& name) const { return scratch->file(name); }
    std::vector<std::string> copies() const { return filesEndingWith(folder(), ".krec"); }

    // A window of the scratch settings and recovery folder; the save question is
    // answered `saveAnswer`, the kind question confirmed.
    std::unique_ptr<FrmP> start(PromptService& prompt, FrmSaveTok::Answer saveAnswer = FrmSaveTok::Answer::DontSave) {
        auto w = std::make_unique<FrmP>(Settings(ini()), prompt);
        w->recoveryFolder = folder();
        w->setRecoveryDelay(0);
        w->runModal = [saveAnswer](QDialog& dialog) {
            dialog.show();
            if (auto* question = qobject_cast<FrmSaveTok*>(&dialog)) {
                QPushButton* button = saveAnswer == FrmSaveTok::Answer::DontSave ? question->CmdStop
                                      : saveAnswer == FrmSaveTok::Answer::Cancel ? question->CmdAnnuler
                                                                                 : question->CmdSave;
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (auto* kind = qobject_cast<FrmChxPrgmFunc*>(&dialog)) {
                QTest::mouseClick(kind->CmdValider, Qt::LeftButton);
            } else {
                QFAIL("unexpected dialog");
            }
        };
        w->load({});
        return w;
    }

    // Types at the end of the program's first line, then waits for the copy.
    static void typeAndWaitForCopy(FrmP& w, const QString& typed) {
        w.RichTxt1->setFocus();
        w.RichTxt1->setCaret(kFirstCaret);
        QTest::keyClicks(w.RichTxt1, typed);
        QTRY_VERIFY(w.windowTitle().endsWith(" *"));
        QTRY_VERIFY(fs::exists(w.recoveryCopyPath()));
        const std::optional<RecoveryCopy> copy = readCopy(w.recoveryCopyPath());
        QVERIFY(copy);
        QCOMPARE(copy->text, w.RichTxt1->text());
    }

private slots:
    void init() {
        scratch = std::make_unique<ScratchDir>();
        Settings(ini()).ecrireIni("FirstLoad", "faux");
    }
    void cleanup() { scratch.reset(); }

    void aKilledKorvanesDocumentComesBackAsItWas() {
        // The child opens a text-form file, types and is killed before any save.
        const std::string program = file("prog.89p");
        QCOMPARE(writeVariableFile({"prog()", "main", "\r\nPrgm\r\nDisp 1\r\nEndPrgm", newDocumentHeader(),
                                    programTrailer()},
                                   program),
                 std::string());
        const std::string childIni = file("Child.INI");
        Settings(childIni).ecrireIni("FirstLoad", "faux");
        Settings(childIni).ecrireIni("Chemin", program);
        const std::string truth = file("typed.txt");

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_STATE_HOME", QString::fromStdString(scratch->file("state")));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {kTypingChild, QString::fromStdString(childIni), QString::fromStdString(truth)});
        QVERIFY(child.waitForStarted());
        // The copy catches up with the last key within its pause.
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(truth) && copies().size() == 1 && readCopy(copies()[0]) &&
                                     readCopy(copies()[0])->name == "essai()" &&
                                     readCopy(copies()[0])->folder == "jeux" &&
                                     readCopy(copies()[0])->text == ScratchDir::read(truth),
                                 20000);
        const std::string typed = ScratchDir::read(truth);
        QVERIFY(typed.find("Disp \"caf\xE9\",42") != std::string::npos);
        QCOMPARE(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const std::string deadCopy = copies()[0];

        // The next start offers it in a real message box; "Oui" restores it.
        QtPrompt prompt;
        FrmP w(Settings(ini()), prompt);
        prompt.setParent(&w);
        w.recoveryFolder = folder();
        QString asked;
        test::ModalScript script;
        script.then<QMessageBox>([&asked](QMessageBox& box) {
            asked = box.text();
            for (QAbstractButton* button : box.buttons())
                if (button->text() == "Oui") QTest::mouseClick(button, Qt::LeftButton);
        });
        // Where a first window's keyboard may stand before the offer.
        w.TxtNomFichier->setFocus();
        w.load({});
        QVERIFY2(script.done(), script.pending().c_str());
        QVERIFY2(asked.startsWith(QString::fromUtf8("Korvane ne s'est pas ferm\u00e9 normalement. R\u00e9cup\u00e9rer le "
                                                    "programme non enregistr\u00e9 jeux\\essai(), tel qu'il \u00e9tait le ")),
                 qPrintable(asked));
        QCOMPARE(w.RichTxt1->text(), typed);
        QCOMPARE(w.nameField(), std::string("essai()"));
        QCOMPARE(w.folderField(), std::string("jeux"));
        QCOMPARE(w.document.path, program);
        QVERIFY(!w.document.tokenizedFile);
        QVERIFY(w.enregistrer->isEnabled());
        QCOMPARE(w.windowTitle(), QString("Korvane - prog.89p *"));
        // Typing goes on in the body, as after an open, not into the name field.
        QVERIFY(w.focusWidget() == w.RichTxt1);
        // The dead window's copy has become this window's.
        QVERIFY(!fs::exists(deadCopy));
        QCOMPARE(copies(), std::vector<std::string>{w.recoveryCopyPath()});
        QCOMPARE(readCopy(w.recoveryCopyPath())->text, typed);
        // Its file is still as it was, until the user saves.
        w.enregistrer->trigger();
        QVERIFY(readVariableFile(program).content.programText.find("caf\xE9") != std::string::npos);
        QVERIFY(copies().empty());
        QCOMPARE(w.windowTitle(), QString("Korvane - prog.89p"));
    }

    void saveAndAChosenDiscardRemoveTheCopy() {
        const std::string program = file("sept.89p");
        QCOMPARE(writeVariableFile({"sept()", "main", "\r\nPrgm\r\n\r\nEndPrgm", newDocumentHeader(),
                                    programTrailer()},
                                   program),
                 std::string());
        Settings(ini()).ecrireIni("Chemin", program);
        ScriptedPrompt prompt;
        auto w = start(prompt);
        QVERIFY(copies().empty());
        typeAndWaitForCopy(*w, "Disp 7");
        QCOMPARE(readCopy(w->recoveryCopyPath())->path, program);

        // Saved with Ctrl+S: written to its file, and the copy goes.
        QTest::keyClick(w->RichTxt1, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(readVariableFile(program).content.programText.find("Disp 7") != std::string::npos);
        QCOMPARE(w->windowTitle(), QString("Korvane - sept.89p"));
        QVERIFY(copies().empty());

        // Undone back to the saved text: nothing left to recover.
        typeAndWaitForCopy(*w, "8");
        QTest::keyClick(w->RichTxt1, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(w->windowTitle(), QString("Korvane - sept.89p"));
        QTRY_VERIFY(copies().empty());

        // New, answered "Non" at the save question: the new Document replaces it.
        typeAndWaitForCopy(*w, "9");
        w->nouveau->trigger();
        QCOMPARE(w->nameField(), std::string("nouveau()"));
        QVERIFY(copies().empty());
        QVERIFY(prompt.shown.empty());
    }

    void aNormalQuitRemovesTheCopyAndItsLock() {
        ScriptedPrompt prompt;
        // "Annuler" at the quit's save question: the window and its copy stay.
        auto w = start(prompt, FrmSaveTok::Answer::Cancel);
        typeAndWaitForCopy(*w, "Disp 8");
        QVERIFY(!w->close());
        QCOMPARE(copies().size(), size_t(1));
        QCOMPARE(filesEndingWith(folder(), ".lock").size(), size_t(1));

        // Quit without saving: nothing is left in the folder.
        auto quitting = start(prompt, FrmSaveTok::Answer::DontSave);
        typeAndWaitForCopy(*quitting, "Disp 9");
        QCOMPARE(copies().size(), size_t(2));
        QVERIFY(quitting->close());
        QCOMPARE(copies(), std::vector<std::string>{w->recoveryCopyPath()});
        QCOMPARE(filesEndingWith(folder(), ".lock").size(), size_t(1));
        QVERIFY(prompt.shown.empty());
    }

    void aDamagedCopyIsToldAndSetAside() {
        fs::create_directories(folder());
        RecoveryCopy copy;
        copy.text = "\r\nPrgm\r\nDisp 1\r\nEndPrgm";
        copy.name = "abc()";
        copy.folder = "main";
        copy.variableHeader = newDocumentHeader();
        copy.variableTrailer = programTrailer();
        Bytes bytes = encodeRecoveryCopy(copy);
        bytes[bytes.find("Disp 1") + 5] = '2';  // changed by hand
        const std::string damaged = folder() + "/korvane-1-0-0.krec";
        ScratchDir::write(damaged, bytes);
        const std::string foreign = folder() + "/korvane-2-0-0.krec";
        ScratchDir::write(foreign, "**TI89**");

        ScriptedPrompt prompt;
        auto w = start(prompt);
        QCOMPARE(prompt.shown.size(), size_t(2));
        for (const PromptMessage& shown : prompt.shown) {
            QCOMPARE(shown.icon, PromptIcon::Warning);
            QVERIFY(shown.text == message(MessageId::RecoveryDamaged, {damaged + ".damaged"}) ||
                    shown.text == message(MessageId::RecoveryDamaged, {foreign + ".damaged"}));
        }
        QVERIFY(prompt.shown[0].text != prompt.shown[1].text);
        QVERIFY(fs::exists(damaged + ".damaged"));
        QCOMPARE(ScratchDir::read(foreign + ".damaged"), std::string("**TI89**"));
        QVERIFY(copies().empty());
        QCOMPARE(w->windowTitle(), QString("Korvane"));
        QCOMPARE(w->nameField(), std::string("nouveau()"));

        // Set aside, they are not told again.
        auto next = start(prompt);
        QCOMPARE(prompt.shown.size(), size_t(2));
    }

    void aCopyThatCannotBeWrittenIsToldOnceAndTheWorkGoesOn() {
        // Where the folder should be stands a file.
        fs::create_directories(scratch->file("state"));
        ScratchDir::write(folder(), "not a folder");
        ScriptedPrompt prompt;
        auto w = start(prompt);
        QVERIFY(prompt.shown.empty());
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(kFirstCaret);
        QTest::keyClicks(w->RichTxt1, "Disp 1");
        QTRY_COMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(prompt.shown[0].icon, PromptIcon::Warning);
        QVERIFY(prompt.shown[0].text.starts_with("La copie de r\u00e9cup\u00e9ration du programme non enregistr\u00e9 ne "
                                                 "peut pas \u00eatre \u00e9crite :\n"));
        QTest::keyClicks(w->RichTxt1, "2");
        QTest::qWait(50);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QVERIFY(w->RichTxt1->text().find("Disp 12") != std::string::npos);
        QCOMPARE(ScratchDir::read(folder()), std::string("not a folder"));
    }

    void windowsSideBySideKeepTheirCopiesToThemselves() {
        ScriptedPrompt prompt;
        auto first = start(prompt);
        typeAndWaitForCopy(*first, "Disp 1");
        auto second = start(prompt);
        QVERIFY(prompt.shown.empty());
        typeAndWaitForCopy(*second, "Disp 2");
        QCOMPARE(copies().size(), size_t(2));
        QVERIFY(first->recoveryCopyPath() != second->recoveryCopyPath());
        const std::string firstCopy = first->recoveryCopyPath();
        const std::string secondCopy = second->recoveryCopyPath();

        // The first goes without its shutdown, as in a crash: the third window is
        // offered its copy alone, not the running second's; "Non" discards it.
        first.reset();
        auto third = start(prompt);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(prompt.shown[0].buttons, PromptButtons::YesNo);
        QVERIFY(prompt.shown[0].text.find("main\\nouveau()") != std::string::npos);
        QVERIFY(!fs::exists(firstCopy));
        QCOMPARE(copies(), std::vector<std::string>{secondCopy});
        QCOMPARE(readCopy(secondCopy)->text, second->RichTxt1->text());
        QCOMPARE(third->windowTitle(), QString("Korvane"));

        // The second's copy follows its own edits, untouched by the others.
        QTest::keyClicks(second->RichTxt1, "3");
        QTRY_COMPARE(readCopy(secondCopy)->text, second->RichTxt1->text());
    }
};

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], kTypingChild) == 0) return typingChild(argc, argv);
    QApplication app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
