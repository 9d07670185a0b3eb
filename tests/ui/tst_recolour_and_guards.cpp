// What a person sees when clicking the recolour button and when editing next to
// the protected first and last lines, with real clicks and keys; colours are the
// values of the colour table (comments 0,130,0; block words 0,0,255; instruction
// words 180,100,100; ordinary text black).
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "editor/TextEditor.h"
#include "editor/ui/EditorWidget.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

constexpr Rgb kComment = rgb(0, 130, 0);
constexpr Rgb kBloc = rgb(0, 0, 255);
constexpr Rgb kInstr = rgb(180, 100, 100);
constexpr Rgb kOrdinary = rgb(0, 0, 0);

// The point of the editor's viewport where a click puts the caret before the
// character `column` of line `line`.
QPoint pointAt(EditorWidget& e, int line, int column) {
    QTextCursor c(e.document()->findBlockByNumber(line));
    c.setPosition(c.block().position() + column);
    const QRect r = e.cursorRect(c);
    return {r.left() + 1, r.center().y()};
}

}  // namespace

class TestRecolourAndGuards : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;

private slots:
    void init() {
        const std::string ini = (dir.path() + "/Korvane.INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        w = std::make_unique<FrmP>(Settings(ini), prompt);
        w->runModal = test::declineSaveQuestion;
        w->load("");
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() {
        w->close();
        w.reset();
    }

    void theRecolourButtonRecolours() {
        EditorWidget& e = *w->RichTxt1;
        e.replaceRange(8, 0, "disp 5 \xA9 note\r\nwhile x");
        // Colours lost, as after a paste from elsewhere: all black.
        e.setColour(0, e.length(), kOrdinary);
        QTest::mouseClick(w->cmdColor, Qt::LeftButton);
        const std::string text = e.text();
        QCOMPARE(text, std::string("\r\nPrgm\r\nDisp 5 \xA9 note\r\nWhile x\r\nEndPrgm"));
        const auto at = [&](const char* word) { return static_cast<int>(text.find(word)); };
        for (int i = 0; i < 4; ++i) QCOMPARE(e.colourAt(at("Prgm") + i), kBloc);
        for (int i = 0; i < 4; ++i) QCOMPARE(e.colourAt(at("Disp") + i), kInstr);
        QCOMPARE(e.colourAt(at(" 5")), kOrdinary);
        for (int i = 0; i < 6; ++i) QCOMPARE(e.colourAt(at("\xA9") + i), kComment);
        for (int i = 0; i < 5; ++i) QCOMPARE(e.colourAt(at("While") + i), kBloc);
        QCOMPARE(e.colourAt(at("EndPrgm")), kBloc);
        // The editor has the focus back.
        QVERIFY(e.hasFocus());
    }

    void deleteAndBackspaceLeaveTheProtectedLines() {
        EditorWidget& e = *w->RichTxt1;
        const std::string text = e.text();
        QCOMPARE(text, std::string("\r\nPrgm\r\n\r\nEndPrgm"));
        // A click inside "EndPrgm" then Delete, a few times.
        QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, pointAt(e, 3, 3));
        for (int i = 0; i < 3; ++i) QTest::keyClick(&e, Qt::Key_Delete);
        QCOMPARE(e.text(), text);
        // A click inside "Prgm" then Backspace.
        QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, pointAt(e, 1, 2));
        for (int i = 0; i < 3; ++i) QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), text);
        // Typed in the body, then Delete at its end: the last line stays.
        QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, pointAt(e, 2, 0));
        QTest::keyClicks(&e, "ab");
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\nab\r\nEndPrgm"));
        QTest::keyClick(&e, Qt::Key_Delete);
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\nab\r\nEndPrgm"));
        // That Delete acted as Home; back to the end of the line and erase it.
        QCOMPARE(e.caret(), 8);
        QTest::keyClick(&e, Qt::Key_End);
        QTest::keyClick(&e, Qt::Key_Backspace);
        QTest::keyClick(&e, Qt::Key_Backspace);
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), text);
    }
};

QTEST_MAIN(TestRecolourAndGuards)
#include "tst_recolour_and_guards.moc"
