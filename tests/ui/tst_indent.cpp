// "Indenter le programme" in the Edit menu: chosen with the mouse, the program is
// indented by its blocks as one edit, and one Ctrl+Z takes it back.
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

class TestIndent : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;
    EditorWidget* editor() { return w->RichTxt1; }

    // Opens the Edit menu and clicks the entry, as a person does.
    void chooseFromEditMenu(QAction* entry) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QMenuBar* bar = w->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(w->edition->menuAction()).center());
        QTRY_VERIFY(w->edition->isVisible());
        QTest::mouseClick(w->edition, Qt::LeftButton, {}, w->edition->actionGeometry(entry).center());
        QTRY_VERIFY(!w->edition->isVisible());
    }

private slots:
    void init() {
        qputenv("KORVANE_INI", (dir.path() + "/Korvane.INI").toUtf8());
        w = std::make_unique<FrmP>(Settings((dir.path() + "/Korvane.INI").toStdString()), prompt);
        w->runModal = test::declineSaveQuestion;
        w->load("");
        editor()->setFocus();
    }
    void cleanup() {
        w->close();
        w.reset();
    }

    void theMenuIndentsAndOneUndoTakesItBack() {
        QCOMPARE(w->indenter->text(), QStringLiteral("Indenter le programme"));
        w->appliquerEn();
        QCOMPARE(w->indenter->text(), QStringLiteral("Indent the program"));
        w->appliquerFr();
        QCOMPARE(w->indenter->text(), QStringLiteral("Indenter le programme"));
        EditorWidget* e = editor();
        e->setCaret(8);
        for (const char* line : {"for i,1,3", "if i=2 then", "disp i", "else", "  disp 0", "endif", "endfor"}) {
            QTest::keyClicks(e, line);
            QTest::keyClick(e, Qt::Key_Return);
        }
        const std::string typed = e->text();
        QCOMPARE(typed, std::string("\r\nPrgm\r\nFor i,1,3\r\nIf i=2 Then\r\nDisp i\r\nElse\r\n  Disp 0\r\nEndIf\r\n"
                                    "EndFor\r\n\r\nEndPrgm"));
        e->setCaret(static_cast<int>(typed.find("Disp i")) + 2);

        chooseFromEditMenu(w->indenter);
        const std::string indented =
            "\r\nPrgm\r\nFor i,1,3\r\n If i=2 Then\r\n  Disp i\r\n Else\r\n  Disp 0\r\n EndIf\r\nEndFor\r\n\r\nEndPrgm";
        QCOMPARE(e->text(), indented);
        QCOMPARE(e->caret(), static_cast<int>(indented.find("Disp i")) + 2);
        // Typing goes on where the caret stands.
        QTest::keyClicks(e, "x");
        QVERIFY(e->text().find("Dixsp i") != std::string::npos);
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e->text(), indented);

        // One Ctrl+Z takes the whole indenting back, one Ctrl+Y gives it again.
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e->text(), typed);
        QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(e->text(), indented);

        // An indented program stays as it is: no edit to undo.
        chooseFromEditMenu(w->indenter);
        QCOMPARE(e->text(), indented);
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e->text(), typed);
    }

    void theStepIsTheOneTheProgramUses() {
        EditorWidget* e = editor();
        e->setCaret(8);
        for (const char* line : {"while x<3", "   disp x", "loop", "exit", "endloop", "endwhile"}) {
            QTest::keyClicks(e, line);
            QTest::keyClick(e, Qt::Key_Return);
        }
        chooseFromEditMenu(w->indenter);
        const std::string text = e->text();
        QVERIFY2(text.find("\r\nWhile x<3\r\n   Disp x") != std::string::npos, text.c_str());
        QVERIFY2(text.find("\r\n   Loop\r\n      Exit\r\n   EndLoop\r\nEndWhile\r\n") != std::string::npos, text.c_str());
    }
};

QTEST_MAIN(TestIndent)
#include "tst_indent.moc"
