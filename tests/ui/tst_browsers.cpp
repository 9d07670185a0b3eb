// The open and save-as browsers, the save-mode dialog and the kind dialog, driven
// as a person drives them: mouse clicks on list rows and buttons, typed names, each
// dialog answered inside its own modal loop.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "editor/CharTable.h"
#include "editor/ui/EditorWidget.h"
#include "files/FileFlows.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"
#include "files/ui/FrmChoixVariable.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/QtPrompt.h"
#include "support/ScratchDir.h"
#include "ui/support/GroupFile.h"
#include "ui/support/ModalScript.h"

using namespace korvane;
using test::ModalScript;
using test::ScratchDir;
namespace fs = std::filesystem;

namespace {

QListWidgetItem* row(QListWidget& list, const QString& text) {
    const auto found = list.findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

// A click where a person clicks: in the middle of the row's rectangle.
void clickRow(QListWidget& list, const QString& text, bool twice = false) {
    QListWidgetItem* item = row(list, text);
    QVERIFY2(item, qPrintable(text + " is not listed"));
    const QPoint at = list.visualItemRect(item).center();
    // A double click is a click, then a press that the system reports as double.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

// Check boxes and radio buttons take a click on their box or their text only.
void clickBox(QAbstractButton* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

// A key where the keyboard is: the widget that has the focus in `window`.
void typeKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key, modifiers);
}

// A shortcut of the main window, pressed while it is the active window.
void pressShortcut(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    typeKey(window, key, modifiers);
}

// The message box's button of that caption, clicked.
void clickBoxButton(QMessageBox& box, const QString& caption) {
    for (QAbstractButton* b : box.buttons())
        if (b->text() == caption) return QTest::mouseClick(b, Qt::LeftButton);
    QFAIL(qPrintable("no button " + caption + " in " + box.text()));
}

// The window loses the front to `other`, then comes back, asking again until the
// window system has done it.
void leaveAndComeBack(QWidget* window, QWidget& other) {
    other.show();
    QVERIFY(QTest::qWaitFor([&] {
        if (!other.isActiveWindow()) other.activateWindow();
        return other.isActiveWindow();
    }));
    QVERIFY(QTest::qWaitFor([&] {
        if (!window->isActiveWindow()) window->activateWindow();
        return window->isActiveWindow();
    }));
}

VariableFileInput programInput(const std::string& nameField, const std::string& body) {
    return {nameField, "main", "\r\nPrgm\r\n" + body + "\r\nEndPrgm", newDocumentHeader(), programTrailer()};
}

std::string bodyOf(const std::string& path) {
    const ParseResult read = readVariableFile(path);
    return read.ok() ? normaliseLineBreaks(read.content.programText) : "unreadable: " + read.error;
}

}  // namespace

class TestBrowsers : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScratchDir> folder;
    std::unique_ptr<ScratchDir> temp;

    std::string file(const std::string& name) const { return folder->file(name); }

    void writeProgram(const std::string& name, const std::string& body) {
        const VariableFileInput input{name + "()", "main", "\r\nPrgm\r\n" + body + "\r\nEndPrgm", newDocumentHeader(),
                                      programTrailer()};
        ScratchDir::write(file(name + ".89p"), buildVariableFile(input).bytes);
    }

    // A second run whose browsers start in the scratch folder.
    std::unique_ptr<FrmP> started(PromptService& prompt, bool askKind = false, const std::string& commandLine = {}) {
        Settings settings(file("Korvane.INI"));
        settings.ecrireIni("FirstLoad", "faux");
        settings.ecrireIni("Dir", folder->path().string());
        settings.ecrireIni("File", folder->path().string());
        settings.ecrireIni("Drive", "/");
        settings.ecrireIni("DirEnregistrer", folder->path().string());
        settings.sauverOption("OpenChxPrgmFunc ", askKind);
        auto w = std::make_unique<FrmP>(Settings(file("Korvane.INI")), prompt);
        w->temporaryFolder = temp->path().string();
        w->load(commandLine);
        return w;
    }

private slots:
    void init() {
        folder = std::make_unique<ScratchDir>();
        temp = std::make_unique<ScratchDir>();
        writeProgram("alpha", "Disp 1");
        writeProgram("beta", "Disp 2");
        ScratchDir::write(file("notes.txt"), "not a program");
    }
    void cleanup() {
        temp.reset();
        folder.reset();
    }

    void clickingAFileOpensIt() {
        ScriptedPrompt prompt;
        auto w = started(prompt);
        ModalScript script;
        script.then<FrmParcourir>([&](FrmParcourir& d) {
            QCOMPARE(d.File1->count(), 2);  // only the calculator's files
            // OK with no file chosen: a message, and the browser stays.
            QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
            QCOMPARE(prompt.shown.size(), size_t(1));
            QCOMPARE(prompt.shown[0].text, std::string("Veuillez s\u00e9lectionner un fichier."));
            QVERIFY(d.isVisible());
            // A click on a row puts the folder and the file name in the path box.
            clickRow(*d.File1, "beta.89p");
            QCOMPARE(d.TxtChemin->text(), QString::fromStdString(file("beta.89p")));
            clickRow(*d.File1, "alpha.89p");
            QCOMPARE(d.TxtChemin->text(), QString::fromStdString(file("alpha.89p")));
            QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
        });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("alpha.89p"));
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 1\r\nEndPrgm"));
        QCOMPARE(w->nameField(), std::string("alpha()"));

        // A double click opens at once; an unchanged Document is replaced without a question.
        script.then<FrmParcourir>([&](FrmParcourir& d) { clickRow(*d.File1, "beta.89p", true); });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("beta.89p"));
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 2\r\nEndPrgm"));

        script.then<FrmParcourir>([](FrmParcourir& d) { QTest::mouseClick(d.CmdQuitter, Qt::LeftButton); });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QCOMPARE(w->document.path, file("beta.89p"));
        w->close();
        QVERIFY2(script.done(), script.pending().c_str());
    }

    void unsavedWorkIsAskedForAndCancelStopsTheCommand() {
        ScriptedPrompt prompt;
        auto w = started(prompt);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(w->windowTitle(), QString("Korvane"));
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, "Disp 1");
        const std::string typed = w->RichTxt1->text();
        QTRY_COMPARE(w->windowTitle(), QString("Korvane *"));

        // Ctrl+O on typed text asks first, with a way back; Escape stops the opening.
        ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) {
            QVERIFY(d.CmdAnnuler->isVisible());
            QVERIFY(d.Option1[0]->isChecked());  // a new Document is saved tokenized
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QTest::keyClick(w->RichTxt1, Qt::Key_O, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->RichTxt1->text(), typed);

        // Quit, then "Annuler", and the close box, then Escape: the window stays.
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdAnnuler, Qt::LeftButton); });
        w->quitter->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        QVERIFY(w->isVisible());
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        QVERIFY(!w->close());
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->RichTxt1->text(), typed);

        // "Oui" from New: the browser proposes the variable's name; an existing file
        // is replaced only after the question, and "Non" leaves the browser open.
        script.then<FrmSaveTok>([](FrmSaveTok& d) {
                clickBox(d.Option1[1]);
                QTest::mouseClick(d.CmdSave, Qt::LeftButton);
            })
            .then<FrmEnregistrer>([&](FrmEnregistrer& d) {
                QCOMPARE(d.TxtNom->text(), QString("nouveau"));
                d.TxtNom->selectAll();
                QTest::keyClicks(d.TxtNom, "alpha");
                QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
                QCOMPARE(prompt.shown.back().text, std::string("Etes-Vous s\u00fbr de vouloir remplacer alpha.89p"));
                QCOMPARE(prompt.shown.back().buttons, PromptButtons::YesNo);
                QVERIFY(d.isVisible());
                d.TxtNom->selectAll();
                QTest::keyClicks(d.TxtNom, "delta");
                QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
            });
        const Bytes alpha = ScratchDir::read(file("alpha.89p"));
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(ScratchDir::read(file("alpha.89p")), alpha);
        const ParseResult delta = readVariableFile(file("delta.89p"));
        QVERIFY(delta.ok());
        QCOMPARE(normaliseLineBreaks(delta.content.programText), std::string("\r\nPrgm\r\nDisp 1\r\nEndPrgm"));
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));
        QCOMPARE(w->windowTitle(), QString("Korvane"));

        // A typed path opens, without a question for the unchanged new Document.
        script.then<FrmParcourir>([](FrmParcourir& d) {
            d.TxtChemin->setFocus();
            QTest::keyClicks(d.TxtChemin, "delta.89p");
            QTest::keyClick(d.TxtChemin, Qt::Key_Return);
        });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("delta.89p"));
        QCOMPARE(w->windowTitle(), QString("Korvane - delta.89p"));

        // A text-form file's question starts on the text form, and "Oui" keeps it.
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, "ClrIO:");
        script.then<FrmSaveTok>([](FrmSaveTok& d) {
            QVERIFY(d.Option1[1]->isChecked());
            QTest::mouseClick(d.CmdSave, Qt::LeftButton);
        });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        const ParseResult again = readVariableFile(file("delta.89p"));
        QVERIFY(again.ok());
        QCOMPARE(normaliseLineBreaks(again.content.programText), std::string("\r\nPrgm\r\nClrIO:Disp 1\r\nEndPrgm"));
        QVERIFY(w->close());
    }

    void saveAsNamesTheFileFromAClickOrTheKeyboard() {
        ScriptedPrompt prompt;
        auto w = started(prompt);
        w->RichTxt1->replaceRange(8, 0, "Disp 3");
        ModalScript script;
        // The text form, then a click on a file: its name without the extension.
        script
            .then<FrmSaveTok>([](FrmSaveTok& d) {
                clickBox(d.Option1[1]);
                QVERIFY(d.Option1[1]->isChecked());
                QTest::mouseClick(d.CmdSave, Qt::LeftButton);
            })
            .then<FrmEnregistrer>([&](FrmEnregistrer& d) {
                clickRow(*d.File1, "beta.89p");
                QCOMPARE(d.TxtNom->text(), QStringLiteral("beta"));
                d.TxtNom->clear();
                QTest::keyClicks(d.TxtNom, "gamma");
                QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
            });
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w->RichTxt1, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("gamma.89p"));
        const ParseResult written = readVariableFile(file("gamma.89p"));
        QVERIFY(written.ok());
        QCOMPARE(normaliseLineBreaks(written.content.programText), std::string("\r\nPrgm\r\nDisp 3\r\nEndPrgm"));
        w->close();
    }

    void theKindDialogStartsAFunction() {
        ScriptedPrompt prompt;
        auto w = started(prompt, true);
        ModalScript script;
        script.then<FrmChxPrgmFunc>([](FrmChxPrgmFunc& d) {
                QVERIFY(d.Opt1[0]->isChecked());
                clickBox(d.Opt1[1]);
                // "Do not ask again".
                clickBox(d.Check1);
                QVERIFY(d.Check1->isChecked());
                QTest::mouseClick(d.CmdValider, Qt::LeftButton);
            });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nFunc\r\n\r\nEndFunc"));
        QVERIFY(!w->PrgmFunc);
        QVERIFY(!w->OpenChxPrgmFunc);
        // Not asked again; the typed function is offered for saving first.
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, "Return 1");
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nFunc\r\n\r\nEndFunc"));
        w->close();
    }
    void aGroupFileAsksWhichVariableAndSavesItAlone() {
        const std::string group = std::string(KORVANE_SAMPLES_DIR) + "/../ti68k-more/loretoparisi__CST121.89G";
        if (!std::filesystem::exists(group)) QSKIP("../shared/ti68k-more is absent: group file not opened");
        ScriptedPrompt prompt;
        auto w = started(prompt);
        ModalScript script;
        script.then<FrmChoixVariable>([](FrmChoixVariable& d) {
            QVERIFY(d.LstVariables->count() == 46);
            QListWidgetItem* azeros = d.LstVariables->findItems("cst\\azeros", Qt::MatchStartsWith).value(0);
            QVERIFY(azeros);
            QTest::mouseClick(d.LstVariables->viewport(), Qt::LeftButton, {}, d.LstVariables->visualItemRect(azeros).center());
            QTest::mouseClick(d.CmdOuvrir, Qt::LeftButton);
        });
        w->openRoutine(true, group);
        QVERIFY2(script.done(), script.pending().c_str());
        QVERIFY(prompt.shown.empty());
        QCOMPARE(w->nameField(), std::string("azeros(p,v)"));
        QCOMPARE(w->folderField(), std::string("cst"));
        // The comment and the line feeds it holds stay on the third line.
        const std::string text = w->RichTxt1->text();
        const size_t third = text.find("\r\n", text.find("\r\n") + 2) + 2;
        const std::string line = text.substr(third, text.find("\r\n", third) - third);
        QCOMPARE(line.substr(0, 1), std::string("\xA9"));
        QVERIFY(line.find('\n') != std::string::npos);
        QVERIFY(line.find("Find all zeros") != std::string::npos);
        // Never to be saved over the group: Save asks where, and the file holds azeros alone.
        QVERIFY(w->document.path.empty());
        QVERIFY(!w->enregistrer->isEnabled());
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.Option1[0], Qt::LeftButton, {}, QPoint(6, d.Option1[0]->height() / 2)); QTest::mouseClick(d.CmdSave, Qt::LeftButton); })
            .then<FrmEnregistrer>([](FrmEnregistrer& d) {
                // Without a file of its own, the variable's name is proposed.
                QCOMPARE(d.TxtNom->text(), QString("azeros"));
                QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
            });
        QTest::mouseClick(w->CmdSauver, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("azeros.89p"));
        Bytes written, original;
        readWholeFile(file("azeros.89p"), written);
        readWholeFile(group, original);
        const VariableTable alone = readVariableTable(written);
        QVERIFY2(alone.ok(), alone.error.c_str());
        QCOMPARE(alone.variables.size(), size_t(1));
        QVERIFY(!alone.singleHeader.empty());
        QCOMPARE(alone.variables[0].qualifiedName(), std::string("cst\\azeros"));
        QCOMPARE(alone.variables[0].type, kFunctionTypeId);
        // The saved function reads back as the group's member reads.
        const OpenedFile back = readProgram(written, {});
        const OpenedFile member = readProgram(original, "cst\\azeros");
        QVERIFY2(back.ok(), back.reason.c_str());
        QCOMPARE(back.content.programText, member.content.programText);
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w->close();
    }

    void theSaveQuestionStartsOnOuiWhateverWasClickedBefore() {
        ScriptedPrompt prompt;
        auto w = started(prompt);
        w->openRoutine(true, file("alpha.89p"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto typeInBody = [&](const QString& text) {
            w->RichTxt1->setFocus();
            w->RichTxt1->setCaret(8);
            QTest::keyClicks(w->RichTxt1, text);
        };

        // "Non" clicked once; the question names the file and its buttons have mnemonics.
        typeInBody("A");
        ModalScript script;
        QStringList seen;
        script.then<FrmSaveTok>([&](FrmSaveTok& d) {
            seen << d.windowTitle() << d.CmdSave->text() << d.CmdStop->text() << d.CmdAnnuler->text();
            QTest::mouseClick(d.CmdStop, Qt::LeftButton);
        });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(seen, QStringList({"Korvane - alpha.89p", "&Oui", "&Non", "&Annuler"}));
        QCOMPARE(bodyOf(file("alpha.89p")), std::string("\r\nPrgm\r\nDisp 1\r\nEndPrgm"));

        // The next time, Enter saves.
        w->openRoutine(true, file("alpha.89p"));
        typeInBody("B");
        script.then<FrmSaveTok>([](FrmSaveTok& d) {
            QVERIFY(d.CmdSave->isDefault());
            typeKey(&d, Qt::Key_Return);
        });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(bodyOf(file("alpha.89p")), std::string("\r\nPrgm\r\nBDisp 1\r\nEndPrgm"));

        // Alt+N does not save; a new Document's question names the program.
        typeInBody("C");
        script.then<FrmSaveTok>([](FrmSaveTok& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Korvane - nouveau"));
            typeKey(&d, Qt::Key_N, Qt::AltModifier);
        });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));

        // In English: Alt+C cancels the command, the typed text stays.
        w->appliquerEn();
        w->openRoutine(true, file("alpha.89p"));
        typeInBody("D");
        script.then<FrmSaveTok>([](FrmSaveTok& d) {
            QCOMPARE(d.CmdSave->text(), QStringLiteral("&Yes"));
            QCOMPARE(d.CmdStop->text(), QStringLiteral("&No"));
            QCOMPARE(d.CmdAnnuler->text(), QStringLiteral("&Cancel"));
            typeKey(&d, Qt::Key_C, Qt::AltModifier);
        });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDBDisp 1\r\nEndPrgm"));
        script.then<FrmSaveTok>([](FrmSaveTok& d) { typeKey(&d, Qt::Key_Y, Qt::AltModifier); });
        QVERIFY(w->close());
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(bodyOf(file("alpha.89p")), std::string("\r\nPrgm\r\nDBDisp 1\r\nEndPrgm"));
    }

    void afterEveryOpenTheKeyboardIsInTheBody() {
        QCOMPARE(writeVariableFile(programInput("tobasen(num,base)", "Disp num"), file("tobasen.89p")), std::string());
        const std::string body = "\r\nPrgm\r\nDisp num\r\nEndPrgm";
        ScratchDir::write(file("pair.89g"), test::groupFile({{"main", "first", 0x12, test::dataOfSingleFile(ScratchDir::read(file("alpha.89p")))},
                                                            {"main", "tobasen", 0x12, test::dataOfSingleFile(ScratchDir::read(file("tobasen.89p")))}}));
        ScriptedPrompt prompt;
        // The command line.
        auto w = started(prompt, false, file("tobasen.89p"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto typeZ = [&](const char* how) {
            QCOMPARE(w->nameField(), std::string("tobasen(num,base)"));
            QVERIFY2(w->focusWidget() == w->RichTxt1, how);
            QTest::keyClicks(w->focusWidget(), "Z");
            QCOMPARE(w->nameField(), std::string("tobasen(num,base)"));
            QVERIFY2(w->RichTxt1->text() == "\r\nPrgm\r\nZDisp num\r\nEndPrgm", how);
            typeKey(w.get(), Qt::Key_Backspace);
            QTRY_VERIFY(!w->hasUnsavedChanges());
            // Elsewhere before the next opening.
            w->TxtNomFichier->setFocus();
            w->TxtNomFichier->setCursorPosition(0);
        };
        typeZ("command line");

        ModalScript script;
        script.then<FrmParcourir>([](FrmParcourir& d) { clickRow(*d.File1, "tobasen.89p", true); });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        typeZ("browser");

        script.then<FrmParcourir>([](FrmParcourir& d) {
            QTest::mouseClick(d.TxtChemin, Qt::LeftButton);
            QTRY_COMPARE(d.TxtChemin->selectedText(), d.TxtChemin->text());
            QTest::keyClicks(d.TxtChemin, "tobasen.89p");
            QTest::keyClick(d.TxtChemin, Qt::Key_Return);
        });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        typeZ("typed path");

        script.then<FrmParcourir>([](FrmParcourir& d) { clickRow(*d.File1, "pair.89g", true); })
            .then<FrmChoixVariable>([](FrmChoixVariable& d) {
                QListWidgetItem* second = d.LstVariables->item(1);
                QVERIFY(second->text().startsWith("main\\tobasen"));
                QTest::mouseClick(d.LstVariables->viewport(), Qt::LeftButton, {}, d.LstVariables->visualItemRect(second).center());
                QTest::mouseClick(d.CmdOuvrir, Qt::LeftButton);
            });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        typeZ("group member");

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file("tobasen.89p")))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->RichTxt1->viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->RichTxt1->viewport(), &drop);
        QTRY_COMPARE(w->document.path, file("tobasen.89p"));
        typeZ("drop");
        QCOMPARE(w->RichTxt1->text(), body);
        w->close();
    }

    void groupsOfEightCharacterNamesAndAProgramBesideOtherVariables() {
        const std::string alpha = test::dataOfSingleFile(ScratchDir::read(file("alpha.89p")));
        QCOMPARE(writeVariableFile(programInput("abcdefgh(x)", "Disp x"), file("eight.89p")), std::string());
        const std::string eight = test::dataOfSingleFile(ScratchDir::read(file("eight.89p")));
        ScratchDir::write(file("group.89g"), test::groupFile({{"abcdefgh", "first", 0x12, alpha},
                                                             {"abcdefgh", "abcdefgh", 0x12, eight},
                                                             {"main", "other", 0x12, alpha}}));
        ScratchDir::write(file("mixed.89g"), test::groupFile({{"main", "greeting", 0x0C, test::stringData("hello")},
                                                             {"main", "alpha", 0x12, alpha}}));
        ScriptedPrompt prompt;
        auto w = started(prompt);

        // Listed by their whole names; a row that is not the first one is clicked.
        ModalScript script;
        script.then<FrmParcourir>([](FrmParcourir& d) { clickRow(*d.File1, "group.89g", true); })
            .then<FrmChoixVariable>([](FrmChoixVariable& d) {
                QCOMPARE(d.LstVariables->count(), 3);
                const auto found = d.LstVariables->findItems("abcdefgh\\abcdefgh ", Qt::MatchStartsWith);
                QCOMPARE(found.size(), 1);
                QVERIFY(d.LstVariables->row(found.front()) != 0);
                QTest::mouseClick(d.LstVariables->viewport(), Qt::LeftButton, {}, d.LstVariables->visualItemRect(found.front()).center());
                QTest::mouseClick(d.CmdOuvrir, Qt::LeftButton);
            });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->nameField(), std::string("abcdefgh(x)"));
        QCOMPARE(w->folderField(), std::string("abcdefgh"));
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp x\r\nEndPrgm"));
        QVERIFY(prompt.shown.empty());

        // The only program of a file that holds a string too: no question, and Save
        // never writes the file with the program alone.
        const Bytes mixed = ScratchDir::read(file("mixed.89g"));
        script.then<FrmParcourir>([](FrmParcourir& d) { clickRow(*d.File1, "mixed.89g", true); });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->nameField(), std::string("alpha()"));
        QVERIFY(w->document.path.empty());
        QVERIFY(!w->enregistrer->isEnabled());
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdSave, Qt::LeftButton); })
            .then<FrmEnregistrer>([](FrmEnregistrer& d) {
                QCOMPARE(d.TxtNom->text(), QStringLiteral("alpha"));
                QTest::mouseClick(d.CmdQuitter, Qt::LeftButton);
            });
        pressShortcut(w.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(ScratchDir::read(file("mixed.89g")), mixed);

        // The folder field alone is a change: the title says so, and New asks.
        w->TxtRep->setFocus();
        w->TxtRep->selectAll();
        QTest::keyClicks(w->TxtRep, "autre");
        QTRY_COMPARE(w->windowTitle(), QStringLiteral("Korvane *"));
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdAnnuler, Qt::LeftButton); });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->folderField(), std::string("autre"));
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w->close();
    }

    void aFileChangedOnDiskIsNeitherOverwrittenNorLeftStale() {
        QtPrompt prompt;
        auto w = started(prompt);
        prompt.setParent(w.get());
        w->openRoutine(true, file("alpha.89p"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QWidget other;  // another program's window
        other.resize(200, 100);
        // Another program writes the file: a longer program, so another size.
        const auto rewrite = [&](const std::string& body) {
            QCOMPARE(writeVariableFile(programInput("alpha()", body), file("alpha.89p")), std::string());
        };
        rewrite("Disp 10");
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, "Mine:");

        // Save asks first; "Annuler" keeps the other program's file.
        ModalScript script;
        QString asked;
        script.then<QMessageBox>([&](QMessageBox& box) {
            asked = box.text();
            clickBoxButton(box, QStringLiteral("Annuler"));
        });
        pressShortcut(w.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(asked, QStringLiteral("alpha.89p a été modifié par un autre programme depuis son ouverture. Le remplacer ?"));
        QCOMPARE(bodyOf(file("alpha.89p")), std::string("\r\nPrgm\r\nDisp 10\r\nEndPrgm"));
        QVERIFY(w->hasUnsavedChanges());
        script.then<QMessageBox>([](QMessageBox& box) { clickBoxButton(box, QStringLiteral("Oui")); });
        pressShortcut(w.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(bodyOf(file("alpha.89p")), std::string("\r\nPrgm\r\nMine:Disp 1\r\nEndPrgm"));
        // Written by Korvane itself: the next save asks nothing.
        pressShortcut(w.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!QApplication::activeModalWidget());

        // Unchanged Document: read again when the window comes back to the front.
        rewrite("Disp 200");
        leaveAndComeBack(w.get(), other);
        QTRY_COMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 200\r\nEndPrgm"));
        QVERIFY(!w->hasUnsavedChanges());

        // Changed Document: asked; "Non" keeps the edits and is not asked again.
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, "Kept:");
        rewrite("Disp 3000");
        script.then<QMessageBox>([&](QMessageBox& box) {
            asked = box.text();
            clickBoxButton(box, QStringLiteral("Non"));
        });
        leaveAndComeBack(w.get(), other);
        QTRY_VERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(asked, QStringLiteral("alpha.89p a été modifié par un autre programme. Le relire et abandonner vos modifications ?"));
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nKept:Disp 200\r\nEndPrgm"));
        leaveAndComeBack(w.get(), other);
        QTest::qWait(50);
        QVERIFY(!QApplication::activeModalWidget());
        // Another change, "Oui": the file's text replaces the edits.
        rewrite("Disp 40000");
        script.then<QMessageBox>([](QMessageBox& box) { clickBoxButton(box, QStringLiteral("Oui")); });
        leaveAndComeBack(w.get(), other);
        QTRY_VERIFY2(script.done(), script.pending().c_str());
        QTRY_COMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 40000\r\nEndPrgm"));
        QVERIFY(!w->hasUnsavedChanges());
        w->close();
    }

    void theBrowsersShowWhatIsOnDiskAndNameOneFile() {
        fs::create_directory(file("elsewhere"));
        QCOMPARE(writeVariableFile(programInput("far()", "Disp 9"), file("elsewhere/far.89p")), std::string());
        ScriptedPrompt prompt;
        auto w = started(prompt);
        Settings(file("Korvane.INI")).ecrireIni("DirEnregistrer", "");
        ModalScript script;

        // The open browser: the path box keeps the last file; a click selects it all,
        // so a typed name replaces it; a name that is not there is named.
        script.then<FrmParcourir>([&](FrmParcourir& d) {
            clickRow(*d.File1, "beta.89p");
            QTest::mouseClick(d.TxtChemin, Qt::LeftButton);
            QTRY_COMPARE(d.TxtChemin->selectedText(), QString::fromStdString(file("beta.89p")));
            QTest::keyClicks(d.TxtChemin, "nope.89p");
            QTest::keyClick(d.TxtChemin, Qt::Key_Return);
            QCOMPARE(prompt.shown.back().text, std::string("Le fichier nope.89p n'existe pas."));
            QVERIFY(d.isVisible());
            QTest::keyClick(d.TxtChemin, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(d.TxtChemin, "elsewhere/far.89p");
            QTest::keyClick(d.TxtChemin, Qt::Key_Return);
        });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("elsewhere/far.89p"));

        // A new Document never saved from here: the save-as browser starts at home,
        // not where the last file was opened; its two boxes name the same file.
        pressShortcut(w.get(), Qt::Key_N, Qt::ControlModifier);
        w->RichTxt1->replaceRange(8, 0, "Disp 5");
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdSave, Qt::LeftButton); })
            .then<FrmEnregistrer>([&](FrmEnregistrer& d) {
                QCOMPARE(d.Dir1->path(), QDir::homePath());
                QCOMPARE(d.TxtChemin->text(), QDir::homePath() + "/nouveau.89p");
                QCOMPARE(d.Dir1->setPath(QString::fromStdString(folder->path().string())), QString());
                QCOMPARE(d.TxtChemin->text(), QString::fromStdString(file("nouveau.89p")));
                d.TxtNom->selectAll();
                QTest::keyClicks(d.TxtNom, "saved");
                QCOMPARE(d.TxtChemin->text(), QString::fromStdString(file("saved.89p")));
                d.CboType->setCurrentIndex(1);
                QCOMPARE(d.TxtChemin->text(), QString::fromStdString(file("saved.92p")));
                clickRow(*d.File1, "beta.89p");
                QCOMPARE(d.TxtChemin->text(), QString::fromStdString(file("beta.92p")));
                d.TxtNom->selectAll();
                QTest::keyClicks(d.TxtNom, "saved");
                QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
            });
        pressShortcut(w.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("saved.92p"));

        // Opened from elsewhere again, then a new Document: it starts where the last save went.
        w->openRoutine(true, file("elsewhere/far.89p"));
        pressShortcut(w.get(), Qt::Key_N, Qt::ControlModifier);
        w->RichTxt1->replaceRange(8, 0, "Disp 6");
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdSave, Qt::LeftButton); })
            .then<FrmEnregistrer>([&](FrmEnregistrer& d) {
                QCOMPARE(d.Dir1->path().toStdString(), folder->path().string());
                // Read afresh: the file saved a moment ago is listed.
                QVERIFY(row(*d.File1, "saved.92p"));
                QTest::mouseClick(d.CmdQuitter, Qt::LeftButton);
            });
        pressShortcut(w.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());

        // The open browser too lists a file written since it was last shown.
        ScratchDir::write(file("fresh.89p"), ScratchDir::read(file("alpha.89p")));
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); })
            .then<FrmParcourir>([](FrmParcourir& d) {
                QVERIFY(row(*d.File1, "fresh.89p"));
                QTest::mouseClick(d.CmdQuitter, Qt::LeftButton);
            });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        QVERIFY(w->close());
    }
};

QTEST_MAIN(TestBrowsers)
#include "tst_browsers.moc"
