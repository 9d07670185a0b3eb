// The Qt editor behind the core's editor interface: positions, characters, colours
// and the edit history.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>

#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"
#include "editor/ui/EditorWidget.h"

using namespace korvane;

class TestEditorWidget : public QObject {
    Q_OBJECT
private slots:
    void positionsCountLineBreaksAsTwo() {
        EditorWidget e;
        e.setPlainText("\r\nPrgm\r\n\r\nEndPrgm");
        QCOMPARE(e.length(), 17);
        QCOMPARE(e.document()->blockCount(), 4);
        e.setCaret(8);
        QCOMPARE(e.textCursor().position(), 6);  // start of the empty third line
        QCOMPARE(e.caret(), 8);
        QCOMPARE(e.lineOfPosition(8), 2);
        // Between the CR and the LF of a break snaps to before the CR.
        e.setCaret(7);
        QCOMPARE(e.caret(), 6);
        // Selections stay off the closing line break and keyword.
        e.setSelection(2, 100);
        QCOMPARE(e.selectionStart(), 2);
        QCOMPARE(e.selectionLength(), 6);
        e.replaceRange(8, 0, "Disp 1\r\nDisp 2");
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\nDisp 1\r\nDisp 2\r\nEndPrgm"));
        QCOMPARE(e.caret(), 22);
    }

    void everyCalculatorCodeSurvives() {
        std::string all;
        for (int code = 0; code < 256; ++code)
            if (code != '\r' && code != '\n') all += static_cast<char>(code);
        EditorWidget e;
        e.setPlainText("\r\n" + all + "\r\nx");
        QCOMPARE(e.text(), "\r\n" + all + "\r\nx");
        QCOMPARE(e.document()->blockCount(), 3);
        // A lone CR from a file becomes a line break; a lone LF is a character of its line.
        e.setPlainText("a\rb\nc");
        QCOMPARE(e.text(), std::string("a\r\nb\nc"));
        QCOMPARE(e.document()->blockCount(), 2);
    }

    void pastedAndTypedTextIsReducedToTheTable() {
        EditorWidget e;
        e.setPlainText("\r\nPrgm\r\n\r\nEndPrgm");
        e.setCaret(8);
        auto* data = new QMimeData;  // the clipboard takes it over
        data->setText(QString::fromUtf8("Disp \u201Chi\u201D\tx\u2192y\U0001F600\nz"));
        QApplication::clipboard()->setMimeData(data);
        // Pasted text goes to the Paste rules in calculator codes.
        std::string pasted;
        connect(&e, &EditorWidget::pasteRequested, this, [&pasted](const std::string& t) { pasted = t; });
        e.paste();
        QCOMPARE(pasted, std::string("Disp \"hi\" x\x16y\r\nz"));
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));
        e.replaceRange(8, 0, "Disp \"hi\" x\x16y\r\nz");
        QTest::keyClick(&e, Qt::Key_Tab);
        QKeyEvent theta(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\u03b8"));
        QApplication::sendEvent(&e, &theta);
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\nDisp \"hi\" x\x16y\r\nz \x88\r\nEndPrgm"));
    }

    void colouringMatchesTheMemoryEditor() {
        const std::string text = "\r\nprgm\r\nif x then:disp \"a\"\r\n\xA9 endif\r\nendprgm";
        EditorWidget widget;
        MemoryEditor memory(text);
        widget.setPlainText(text);
        int pos = 0;
        widget.setCaret(10);
        memory.setCaret(10);
        colorierTout(widget, pos, "10");
        colorierTout(memory, pos, "10");
        QCOMPARE(widget.text(), memory.text());
        QCOMPARE(widget.caret(), 10);
        for (int i = 0; i < memory.length(); ++i) QCOMPARE(widget.colourAt(i), memory.colourAt(i));
        // The colours are drawn: the third line carries its keyword formats.
        const auto formats = widget.document()->findBlockByNumber(2).layout()->formats();
        QVERIFY(formats.size() >= 3);
        QCOMPARE(formats[0].format.foreground().color(), QColor(0, 0, 255));
    }

    void keywordRewritesJoinTheEditThatCausedThem() {
        EditorWidget e;
        e.setPlainText("\r\nPrgm\r\n\r\nEndPrgm");
        QVERIFY(!e.document()->isUndoAvailable());
        e.setCaret(8);
        e.replaceRange(8, 0, "disp 1");
        int pos = 0;
        colorierTout(e, pos, "10");
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\nDisp 1\r\nEndPrgm"));
        e.undo();
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\n\r\nEndPrgm"));
        QVERIFY(!e.document()->isUndoAvailable());
        e.redo();
        QCOMPARE(e.text(), std::string("\r\nPrgm\r\nDisp 1\r\nEndPrgm"));
    }

    void anEditedLineTakesTheFullColouringsColours() {
        EditorWidget e;
        e.setPlainText("\r\nPrgm\r\nab\r\nEndPrgm");
        e.setColour(8, 2, rgb(0, 130, 0));
        e.setColour(12, 9, rgb(0, 0, 255));
        e.setCaret(10);
        QTest::keyClicks(&e, "c");
        QCOMPARE(e.colourAt(8), kBlack);
        QCOMPARE(e.colourAt(10), kBlack);
        e.setCaret(8);
        QTest::keyClicks(&e, "disp ");
        QCOMPARE(e.colourAt(8), ColourTable{}.instr);
        QCOMPARE(e.colourAt(12), kBlack);
        // A line the edit did not touch keeps its colours.
        QCOMPARE(e.colourAt(e.length() - 1), rgb(0, 0, 255));
    }
};

QTEST_MAIN(TestEditorWidget)
#include "tst_editorwidget.moc"
