// Editing in the main window as a user does it: real key events in the editor,
// command menus, the clipboard, and undo and redo across the recolourings.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QTest>

#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"
#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmRechercher.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

const std::string kEmpty = "\r\nPrgm\r\n\r\nEndPrgm";

std::vector<Rgb> coloursOf(const TextEditor& e) {
    std::vector<Rgb> out;
    for (int i = 0; i < e.length(); ++i) out.push_back(e.colourAt(i));
    return out;
}

// The colours that a full recolouring gives a text, keeping its letters as they are.
std::vector<Rgb> fullColours(const std::string& text) {
    MemoryEditor memory(text);
    int pos = 0;
    colorierTout(memory, pos, "10");
    return coloursOf(memory);
}

// The colours the editor draws: each block's layout formats, a line break taking
// the colour of the break in the full recolouring's terms (none drawn).
std::vector<Rgb> drawnColours(const EditorWidget& e) {
    std::vector<Rgb> out;
    for (QTextBlock block = e.document()->firstBlock(); block.isValid(); block = block.next()) {
        std::vector<Rgb> line(static_cast<size_t>(block.length() - 1), kBlack);
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            const QColor c = range.format.foreground().color();
            for (int i = range.start; i < range.start + range.length && i < static_cast<int>(line.size()); ++i)
                line[static_cast<size_t>(i)] = rgb(c.red(), c.green(), c.blue());
        }
        out.insert(out.end(), line.begin(), line.end());
        if (block.next().isValid()) out.insert(out.end(), 2, kBlack);
    }
    return out;
}

QAction* menuAction(FrmP& w, const char* name) {
    for (QMenu* menu : w.commandMenus)
        if (auto* a = menu->findChild<QAction*>(name)) return a;
    return nullptr;
}

}  // namespace

class TestEditing : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;
    EditorWidget* editor() { return w->RichTxt1; }

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

    void keysTypeColourAndStayInTheBody() {
        EditorWidget* e = editor();
        QCOMPARE(e->caret(), 8);
        // Backspace at the body's start and Delete at its end remove nothing.
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), kEmpty);
        e->setCaret(e->length() - 9);
        QTest::keyClick(e, Qt::Key_Delete);
        QCOMPARE(e->text(), kEmpty);

        e->setCaret(8);
        QTest::keyClicks(e, "if x>1 then");
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "disp x");
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "endif ");
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nIf x>1 Then\r\nDisp x\r\nEndIf \r\nEndPrgm"));
        QCOMPARE(e->caret(), 8 + 11 + 2 + 6 + 2 + 6);
        const ColourTable full;
        QCOMPARE(e->colourAt(8), full.bloc);
        QCOMPARE(e->colourAt(8 + 13), full.instr);
        QCOMPARE(e->colourAt(8 + 13 + 5), full.ordinary);

        // A click can leave the caret in the frame; the keys still edit only the body.
        const std::string typed = e->text();
        e->setCaret(e->length());
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), typed);
        QTest::keyClicks(e, "z");
        QCOMPARE(e->text(), typed.substr(0, typed.size() - 9) + "z" + typed.substr(typed.size() - 9));
        e->setCaret(3);
        QTest::keyClicks(e, "q");
        QCOMPARE(e->caret(), 8);
        QVERIFY(e->text().find('q') == std::string::npos);

        // The caret cannot go into the closing line by the keyboard either.
        e->setCaret(e->length() - 9);
        QTest::keyClick(e, Qt::Key_Down);
        QVERIFY(e->caret() <= e->length() - 9);
    }

    void menusClipboardAndShortcutsGoThroughTheSameRules() {
        EditorWidget* e = editor();
        QAction* forLoop = menuAction(*w, "fctFor");
        QVERIFY(forLoop);
        forLoop->trigger();
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nFor \r\n\r\nEndFor\r\nEndPrgm"));
        QCOMPARE(e->caret(), 12);
        QCOMPARE(e->colourAt(8), rgb(0, 0, 255));  // the block keywords' blue

        // Ctrl+A selects the body without its last line break; Ctrl+C copies it out
        // through the character table.
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(e->selectionStart(), 8);
        QCOMPARE(e->selectionLength(), 14);
        QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("For \n\nEndFor"));

        // Every calculator code survives a copy and paste through the desktop.
        std::string codes;
        for (int c = 1; c < 256; ++c)
            if (c != '\r' && c != '\n') codes += static_cast<char>(c);
        e->replaceRange(8, 0, codes + "\r\n");
        e->setSelection(8, static_cast<int>(codes.size()));
        w->couper->trigger();
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\n\r\nFor \r\n\r\nEndFor\r\nEndPrgm"));
        e->setCaret(8);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e->text().substr(8, codes.size()), codes);

        // Paste is refused in the closing line.
        const std::string before = e->text();
        e->setCaret(e->length() - 3);
        w->coller->trigger();
        QCOMPARE(e->text(), before);

        QTest::keyClick(e, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(w->searchWindow);
        QVERIFY(w->searchWindow->isVisible());
    }

    void undoAndRedoWalkBackAndForthThroughEveryCommand() {
        EditorWidget* e = editor();
        std::vector<std::string> texts{e->text()};
        auto snapshot = [&] { texts.push_back(e->text()); };

        // A run of typing is one step, with the keywords its keys rewrote.
        QTest::keyClicks(e, "local a:if a>0:disp a");
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nLocal a:If a>0:Disp a\r\n\r\nEndPrgm"));
        snapshot();
        // Typing somewhere else starts a new step.
        e->setCaret(8);
        QTest::keyClicks(e, "x ");
        snapshot();
        e->setCaret(e->length() - 9);
        menuAction(*w, "fctWhile")->trigger();
        snapshot();
        QApplication::clipboard()->setText(QStringLiteral("disp a"));
        w->coller->trigger();
        snapshot();
        QVERIFY(e->text().find("Disp a") != std::string::npos);

        for (size_t step = texts.size() - 1; step > 0; --step) {
            QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(e->text(), texts[step - 1]);
            QCOMPARE(coloursOf(*e), fullColours(texts[step - 1]));
        }
        QVERIFY(!e->document()->isUndoAvailable());
        for (size_t step = 1; step < texts.size(); ++step) {
            if (step % 2) QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier);
            else QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(e->text(), texts[step]);
            QCOMPARE(coloursOf(*e), fullColours(texts[step]));
        }
        QVERIFY(!e->document()->isRedoAvailable());
    }

    // Typing, a keyword rewrite, a paste or a deletion leaves every line coloured
    // as a full recolouring colours it.
    void coloursAfterEveryEditEqualAFullRecolouring() {
        EditorWidget* e = editor();
        QApplication::clipboard()->setText(
            QString::fromUtf8("Disp a\nDisp a:If a>0 Then\nDisp \"b\" \u00a9 note\nEndIf\nLocal x:For x,1,3\nEndFor"));
        w->coller->trigger();
        QCOMPARE(coloursOf(*e), fullColours(e->text()));

        e->setCaret(8);
        auto check = [&](const char* step) {
            const std::string text = e->text();
            const std::vector<Rgb> shown = drawnColours(*e);
            const std::vector<Rgb> full = fullColours(text);
            for (int line = 0, start = 0; start <= e->length(); ++line) {
                const size_t lineBreak = text.find("\r\n", static_cast<size_t>(start));
                const int end = lineBreak == std::string::npos ? e->length() : static_cast<int>(lineBreak);
                const std::vector<Rgb> a(shown.begin() + start, shown.begin() + end);
                const std::vector<Rgb> b(full.begin() + start, full.begin() + end);
                QVERIFY2(a == b, qPrintable(QStringLiteral("%1: line %2").arg(step).arg(line)));
                start = end + 2;
            }
        };
        QTest::keyClicks(e, "disp a");
        QTest::keyClick(e, Qt::Key_Return);
        check("a statement and Return at the top");
        QTest::keyClicks(e, "while a<5");
        QTest::keyClick(e, Qt::Key_Return);
        check("a block word");
        QTest::keyClicks(e, "\"x");
        check("an opening quote");
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClick(e, Qt::Key_Backspace);
        check("two deletions");
        QTest::keyClicks(e, QString::fromUtf8("\u00a9 "));
        check("a comment mark");
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        check("undo");
    }

    // What the menus insert is what the calculator takes: Custom...EndCustom, chosen
    // with the mouse from the menu bar, passes the check.
    void theControlMenusCustomBlockPassesTheCheck() {
        QAction* custom = menuAction(*w, "fctCustom");
        QVERIFY(custom);
        QMenu* menu = nullptr;
        for (QMenu* m : w->commandMenus)
            if (m->actions().contains(custom)) menu = m;
        QVERIFY(menu);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QMenuBar* bar = w->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(custom).center());
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(editor()->text().find("Custom \r\n\r\nEndCustom") != std::string::npos);
        prompt.shown.clear();
        QTest::keyClick(editor(), Qt::Key_F7);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(prompt.shown[0].text, std::string("Le programme est valide pour la calculatrice."));
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
