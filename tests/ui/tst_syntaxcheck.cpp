// The syntax check of the Edit menu (F7), the caret on a refused line, and the
// import of a TI link software text into a new Document.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"
#include "ui/support/ModalScript.h"

using namespace korvane;
using test::ModalScript;

namespace {

// Chooses `path` in the file dialog as a person who pastes it into the name box and
// presses Enter. A selection in the lists would hang on the folder's listing, which
// arrives from a thread and clears a selection made before it.
void chooseFile(QFileDialog& d, const QString& path) {
    auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setFocus();
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
    QTRY_VERIFY2(!d.isVisible(), qPrintable("the dialog did not take " + path + ": " + name->text()));
}

}  // namespace

class TestSyntaxCheck : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;

    void setBody(const std::string& body) {
        w->RichTxt1->setPlainText("\r\nPrgm\r\n" + body + "\r\nEndPrgm");
        w->RichTxt1->setCaret(8);
    }

private slots:
    void init() {
        const std::string ini = (dir.path() + "/" + QTest::currentTestFunction() + ".INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        prompt.shown.clear();
        w = std::make_unique<FrmP>(Settings(ini), prompt);
        w->temporaryFolder = dir.path().toStdString();
        w->load("");
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() {
        ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w->close();
        w.reset();
    }

    void f7ChecksTheProgramInMemory() {
        QCOMPARE(w->verifierSyntaxe->text(), QStringLiteral("V\u00e9rifier la syntaxe"));
        // A valid program, with what the menus insert.
        setBody("Disp \"a\"\r\nPause \r\nFor i,1,3\r\nEndFor");
        QTest::keyClick(w->RichTxt1, Qt::Key_F7);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(prompt.shown[0].text, std::string("Le programme est valide pour la calculatrice."));

        // An error on the third body line: its line as the editor counts it, and the caret there.
        setBody("Disp 1\r\nDisp 2\r\nDisp 3+\r\nDisp 4");
        QTest::keyClick(w->RichTxt1, Qt::Key_F7);
        QCOMPARE(prompt.shown.size(), size_t(2));
        QVERIFY2(prompt.shown[1].text.rfind("Ligne 5 : ", 0) == 0, prompt.shown[1].text.c_str());
        QCOMPARE(w->RichTxt1->caret(), static_cast<int>(w->RichTxt1->text().find("Disp 3+")));
        QVERIFY(w->RichTxt1->hasFocus());

        // The empty program is valid; in English, so is the message.
        setBody("");
        w->appliquerEn();
        QCOMPARE(w->verifierSyntaxe->text(), QStringLiteral("Check syntax"));
        w->verifierSyntaxe->trigger();
        QCOMPARE(prompt.shown.back().text, std::string("The program is valid for the calculator."));
    }

    void aRefusedTokenizedSavePutsTheCaretOnTheLine() {
        setBody("Disp 1\r\nIf x Then\r\nDisp 2");
        ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) {
                  QVERIFY(d.Option1[0]->isChecked());  // tokenized
                  QTest::mouseClick(d.CmdSave, Qt::LeftButton);
              })
            .then<FrmEnregistrer>([&](FrmEnregistrer& d) {
                d.TxtNom->setText(QStringLiteral("refused"));
                QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
            });
        w->enregistrerSous->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(prompt.shown.size(), size_t(1));
        QVERIFY(prompt.shown[0].text.find("ligne 4 : ") != std::string::npos);
        // "If x Then" is on line 4, left open.
        QCOMPARE(w->RichTxt1->caret(), static_cast<int>(w->RichTxt1->text().find("If x Then")));
    }

    void aTiTextImportsIntoANewDocument() {
        if (!samples::available()) QSKIP(samples::missingMessage());
        const QString exported =
            QString::fromStdString((samples::folder() / "exports" / "dapperfu__me572.dh.TXT").string());
        ModalScript script;
        script.then<QFileDialog>([&](QFileDialog& d) {
            QCOMPARE(d.objectName(), QStringLiteral("importDialog"));
            chooseFile(d, exported);
        });
        w->importer->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->nameField(), std::string("dh(\x88,d,a,\x80)"));
        QCOMPARE(w->folderField(), std::string("me572"));
        const std::string text = w->RichTxt1->text();
        QVERIFY(text.rfind("\r\nFunc\r\nLocal", 0) == 0);
        QVERIFY(text.find("Return") != std::string::npos);
        QVERIFY(w->document.path.empty());
        QVERIFY(!w->enregistrer->isEnabled());

        // Not an export: a message names the file, the Document stays.
        const std::string notes = (dir.path() + "/notes.txt").toStdString();
        test::ScratchDir::write(notes, "hello");
        script.then<QFileDialog>([&](QFileDialog& d) { chooseFile(d, QString::fromStdString(notes)); });
        w->importer->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(prompt.shown.size(), size_t(1));
        QVERIFY(prompt.shown[0].text.find(notes) != std::string::npos);
        QCOMPARE(w->RichTxt1->text(), text);
    }
};

QTEST_MAIN(TestSyntaxCheck)
#include "tst_syntaxcheck.moc"
