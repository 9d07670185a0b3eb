// The main window on the offscreen platform: start-up, shutdown, new documents and
// the name field.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "editor/Colouring.h"
#include "editor/ui/EditorWidget.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

// Records, with each message, whether the main window was on screen when it came.
class WatchingPrompt : public ScriptedPrompt {
public:
    PromptAnswer ask(const PromptMessage& message) override {
        windowVisible.push_back(window && window->isVisible());
        return ScriptedPrompt::ask(message);
    }
    QWidget* window = nullptr;
    std::vector<bool> windowVisible;
};

const char* const kAllShutdownKeys[] = {
    "FirstLoad", "Langue", "TaillePolice", "CatalogOpen", "CharSpecialOpen", "PrgmFunc", "OpenChxPrgmFunc ",
    "Chemin", "LockCat", "LockChar", "HauteurCat", "XCat", "YCat", "XChar", "YChar", "CmdGreek", "CmdMath",
    "CmdPonctuation", "CmdSpecial", "CmdCatalogue", "XFrmP", "YFrmP", "LargeurFrmP", "HauteurFrmP"};

}  // namespace

class TestFrmP : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    std::string ini() const { return (dir.path() + "/Korvane.INI").toStdString(); }

private slots:
    void firstRunThenSecondRun() {
        {
            WatchingPrompt prompt;
            FrmP w(Settings(ini()), prompt);
            w.runModal = test::declineSaveQuestion;
            prompt.window = &w;
            w.load("");
            // The first run is recorded without a message.
            QVERIFY(prompt.shown.empty());

            QCOMPARE(w.RichTxt1->text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));
            QCOMPARE(w.RichTxt1->caret(), 8);
            QCOMPARE(w.nameField(), std::string("nouveau()"));
            QCOMPARE(w.folderField(), std::string("main"));
            QVERIFY(!w.enregistrer->isEnabled());
            QCOMPARE(w.CboTaille->currentText(), QString("10"));
            // Colours reach the widget's layout, not only the model.
            QCOMPARE(w.RichTxt1->colourAt(2), rgb(0, 0, 255));  // the block keywords' blue
            QVERIFY(!w.RichTxt1->document()->findBlockByNumber(1).layout()->formats().isEmpty());
            // Every menu in the bar, none behind the overflow arrow.
            QVERIFY(w.menuBar()->sizeHint().width() <= w.menuBar()->width());
            const QList<QAction*> menus = w.menuBar()->actions();
            QVERIFY(!w.menuBar()->actionGeometry(menus.back()).isEmpty());
            QVERIFY(w.menuBar()->actionGeometry(menus.back()).right() < w.menuBar()->width());
            w.close();
        }
        QFile file(QString::fromStdString(ini()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string content = file.readAll().toStdString();
        for (const char* key : kAllShutdownKeys) QVERIFY2(findIniValue(content, key).has_value(), key);
        for (const char* key : {"Dir", "Drive", "File"}) QVERIFY(!findIniValue(content, key).has_value());
        Settings written(ini());
        QCOMPARE(written.lireIni("FirstLoad"), std::string("faux"));
        QCOMPARE(written.lireIni("Langue"), std::string("1"));  // written back as read

        WatchingPrompt again;
        FrmP w2(Settings(ini()), again);
        w2.runModal = test::declineSaveQuestion;
        w2.load("");
        QVERIFY(again.shown.empty());
        // "Quitter" runs the same shutdown as the close box.
        w2.CboTaille->setCurrentIndex(6);
        w2.quitter->trigger();
        QVERIFY(!w2.isVisible());
        QCOMPARE(Settings(ini()).lireIni("TaillePolice"), std::string("6"));
    }

    void fontSizeSurvivesARestart() {
        ScriptedPrompt prompt;
        {
            FrmP w(Settings(ini()), prompt);
            w.runModal = test::declineSaveQuestion;
            w.load("");
            w.CboTaille->setCurrentIndex(4);
            emit w.CboTaille->activated(4);
            QCOMPARE(w.RichTxt1->fontSize(), 14.0);
            w.close();
        }
        QCOMPARE(Settings(ini()).lireIni("TaillePolice"), std::string("4"));
        FrmP w(Settings(ini()), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        QCOMPARE(w.CboTaille->currentText(), QString("14"));
        QCOMPARE(w.RichTxt1->fontSize(), 14.0);
        w.close();
    }

    void newAsksTheKindAndStartUpNever() {
        ScriptedPrompt prompt;
        FrmP w(Settings(ini()), prompt);
        w.runModal = test::declineSaveQuestion;
        int shown = 0;
        w.runModal = [&shown](QDialog& d) {
            if (test::declineSaveQuestion(d)) return;
            ++shown;
            auto& dialog = static_cast<FrmChxPrgmFunc&>(d);
            QVERIFY(dialog.Opt1[0]->isChecked());  // offered first whatever was chosen before
            dialog.Opt1[1]->setChecked(true);
            dialog.CmdValider->click();
        };
        w.PrgmFunc = false;
        w.load("");
        QCOMPARE(shown, 0);
        QCOMPARE(w.RichTxt1->text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));  // the stored kind: program

        w.nouveau->trigger();
        QCOMPARE(shown, 1);
        QVERIFY(!w.PrgmFunc);
        QCOMPARE(w.RichTxt1->text(), std::string("\r\nFunc\r\n\r\nEndFunc"));
        QCOMPARE(w.document.variableTrailer, functionTrailer());

        // "Ne plus afficher." stops the question; the stored kind is used.
        w.runModal = [&shown](QDialog& d) {
            if (test::declineSaveQuestion(d)) return;
            ++shown;
            auto& dialog = static_cast<FrmChxPrgmFunc&>(d);
            dialog.Check1->click();
            dialog.CmdValider->click();
        };
        w.CmdNouveau->click();
        QCOMPARE(shown, 2);
        QVERIFY(!w.OpenChxPrgmFunc);
        w.CmdNouveau->click();
        QCOMPARE(shown, 2);
        QCOMPARE(w.RichTxt1->text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));
        w.close();
        QCOMPARE(Settings(ini()).lireIni("OpenChxPrgmFunc"), std::string("Faux"));
    }

    void nameFieldKeepsEightCharacters() {
        ScriptedPrompt prompt;
        FrmP w(Settings(ini()), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        QLineEdit* name = w.TxtNomFichier;
        name->setText("abcdefgh(x)");
        // Typed inside the name: the name's last character goes, the caret stays after the typed one.
        name->setCursorPosition(3);
        QTest::keyClicks(name, "Z");
        QCOMPARE(name->text(), QString("abcZdefg(x)"));
        QCOMPARE(name->cursorPosition(), 4);
        // Typed at the end of the name: the typed character itself goes, the caret moves past "(".
        name->setCursorPosition(8);
        QTest::keyClicks(name, "Q");
        QCOMPARE(name->text(), QString("abcZdefg(x)"));
        QCOMPARE(name->cursorPosition(), 9);
        // Without an argument list the name is cut as well.
        name->setText("abcdefghij");
        QCOMPARE(name->text(), QString("abcdefgh"));

        // Down arrow leaves for the editor, at the start of the body.
        w.RichTxt1->setCaret(14);
        QTest::keyClick(name, Qt::Key_Down);
        QCOMPARE(w.RichTxt1->caret(), 8);
        w.close();
    }

    void commandLineExtensionCheck() {
        ScriptedPrompt prompt;
        FrmP w(Settings(ini()), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("notes.txt");
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(prompt.shown[0].text, std::string("Le fichier n'est pas un fichier ti89"));
        QCOMPARE(prompt.shown[0].icon, PromptIcon::Information);
        QCOMPARE(w.RichTxt1->text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));
        w.close();

        // Capitals pass with or without double quotes: the extension is compared in any case.
        const QString file = dir.path() + "/PROG.89P";
        QCOMPARE(writeVariableFile({kNewName, kNewFolder, newDocumentText(ProgramKind::Program), newDocumentHeader(),
                                    programTrailer()},
                                   file.toStdString()),
                 std::string());
        ScriptedPrompt unquoted;
        FrmP w2(Settings(ini()), unquoted);
        w2.runModal = test::declineSaveQuestion;
        w2.load(file.toStdString());
        QVERIFY(unquoted.shown.empty());
        w2.close();
        ScriptedPrompt quoted;
        FrmP w3(Settings(ini()), quoted);
        w3.runModal = test::declineSaveQuestion;
        w3.load("\"" + file.toStdString() + "\"");
        QVERIFY(quoted.shown.empty());
        w3.close();
        QCOMPARE(Settings(ini()).lireIni("Chemin"), file.toStdString());
    }

    void geometryRoundTripsAsTheOuterFrame() {
        ScriptedPrompt prompt;
        QRect before;
        {
            FrmP w(Settings(ini()), prompt);
            w.runModal = test::declineSaveQuestion;
            w.load("");
            w.setGeometry(100, 80, 600, 500);
            before = w.frameGeometry();
            w.close();
        }
        FrmP w(Settings(ini()), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        QCOMPARE(w.frameGeometry(), before);
        // Narrower than the minimum snaps back to it, frame included.
        w.resize(100, w.height());
        QTRY_COMPARE(w.frameGeometry().width(), 5340 / 15);
        w.close();
    }

    void aSecondWindowDoesNotHideTheFirst() {
        // Both processes read the same stored geometry; the running one holds its place.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path() + "/runtime"));
        const std::string shared = (dir.path() + "/Shared.INI").toStdString();
        ScriptedPrompt prompt;
        QRect stored;
        {
            FrmP w(Settings(shared), prompt);
            w.runModal = test::declineSaveQuestion;
            w.load("");
            w.setGeometry(100, 80, 500, 400);
            stored = w.frameGeometry();
            w.close();
        }
        auto open = [&](FrmP& w) {
            w.runModal = test::declineSaveQuestion;
            w.load("");
            QCoreApplication::processEvents();
        };
        FrmP first(Settings(shared), prompt);
        open(first);
        QCOMPARE(first.frameGeometry(), stored);
        FrmP second(Settings(shared), prompt);
        open(second);
        const QPoint step = second.frameGeometry().topLeft() - first.frameGeometry().topLeft();
        QVERIFY2(step.x() >= 10 && step.x() == step.y(), qPrintable(QStringLiteral("moved by %1,%2").arg(step.x()).arg(step.y())));
        QCOMPARE(second.frameGeometry().size(), stored.size());
        QCOMPARE(first.frameGeometry(), stored);
        // The docked tool windows go with it.
        QCOMPARE(second.frmChar().frameGeometry().topLeft(), second.frameGeometry().bottomLeft() + QPoint(0, 1));
        // A third steps on again; once the first has closed, its place is free.
        {
            FrmP third(Settings(shared), prompt);
            open(third);
            QCOMPARE(third.frameGeometry().topLeft(), stored.topLeft() + 2 * step);
            third.close();
        }
        first.close();
        FrmP again(Settings(shared), prompt);
        open(again);
        QCOMPARE(again.frameGeometry().topLeft(), stored.topLeft());
        // Another settings file's window is not counted.
        const std::string own = (dir.path() + "/Own.INI").toStdString();
        {
            FrmP w(Settings(own), prompt);
            open(w);
            w.setGeometry(100, 80, 500, 400);
            w.close();
        }
        FrmP apart(Settings(own), prompt);
        open(apart);
        QCOMPARE(apart.frameGeometry().topLeft(), stored.topLeft());
        for (FrmP* w : {&apart, &again, &second}) w->close();
        qunsetenv("XDG_RUNTIME_DIR");
    }
};

QTEST_MAIN(TestFrmP)
#include "tst_frmp.moc"
