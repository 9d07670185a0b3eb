// The open and save-as browsers, the save-mode dialog and the kind dialog, driven
// as a person drives them: mouse clicks on list rows and buttons, typed names, each
// dialog answered inside its own modal loop.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "editor/CharTable.h"
#include "editor/ui/EditorWidget.h"
#include "files/FileFlows.h"
#include "files/VariableFile.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "support/ScratchDir.h"
#include "ui/support/ModalScript.h"

using namespace korvane;
using test::ModalScript;
using test::ScratchDir;

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
    std::unique_ptr<FrmP> started(ScriptedPrompt& prompt, bool askKind = false) {
        Settings settings(file("Korvane.INI"));
        settings.ecrireIni("FirstLoad", "faux");
        settings.ecrireIni("Dir", folder->path().string());
        settings.ecrireIni("File", folder->path().string());
        settings.ecrireIni("Drive", "/");
        settings.sauverOption("OpenChxPrgmFunc ", askKind);
        auto w = std::make_unique<FrmP>(Settings(file("Korvane.INI")), prompt);
        w->temporaryFolder = temp->path().string();
        w->load("");
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

        // A double click opens at once; the file open now gets the save question first.
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); })
            .then<FrmParcourir>([&](FrmParcourir& d) { clickRow(*d.File1, "beta.89p", true); });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->document.path, file("beta.89p"));
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 2\r\nEndPrgm"));

        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); })
            .then<FrmParcourir>([](FrmParcourir& d) { QTest::mouseClick(d.CmdQuitter, Qt::LeftButton); })
            .then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        QTest::mouseClick(w->CmdOuvrir, Qt::LeftButton);
        QCOMPARE(w->document.path, file("beta.89p"));
        w->close();
        QVERIFY2(script.done(), script.pending().c_str());
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
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w->close();
    }

    void theKindDialogStartsAFunction() {
        ScriptedPrompt prompt;
        auto w = started(prompt, true);
        ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); })
            .then<FrmChxPrgmFunc>([](FrmChxPrgmFunc& d) {
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
        // Not asked again: only the save question comes.
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nFunc\r\n\r\nEndFunc"));
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w->close();
    }
};

QTEST_MAIN(TestBrowsers)
#include "tst_browsers.moc"
