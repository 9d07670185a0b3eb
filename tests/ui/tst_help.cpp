// Help while writing, driven with real keys and clicks: the status bar's position
// and syntax, F1's help window, completion on Ctrl+Space, the live syntax check's
// mark, the keyboard's -> >= <= /= !=, the catalogue's search and help, the "Aller à"
// menu, and code 180 shown and copied as ⁻¹.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCompleter>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

#include "editor/CharTable.h"
#include "editor/WritingHelp.h"
#include "editor/ui/EditorWidget.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "insert/CommandHelp.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmOption.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"
#include "ui/support/ModalScript.h"

using namespace korvane;

namespace {

QString shown(std::string_view calc) { return EditorWidget::toReadable(std::string(calc)); }

QString syntaxOf(const char* name) { return shown(findCommandHelp(name)->syntax); }

std::string body(const FrmP& w) {
    const std::string text = w.RichTxt1->text();
    return text.substr(8, text.size() - 17);
}

QList<QTextLayout::FormatRange> formatsOfLine(const EditorWidget& e, int line) {
    return e.document()->findBlockByNumber(line - 1).layout()->formats();
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;

    std::string ini() const { return (dir.path() + "/" + QTest::currentTestFunction() + ".INI").toStdString(); }
    EditorWidget* editor() { return w->RichTxt1; }

    void typeLines(const QStringList& lines) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) QTest::keyClick(editor(), Qt::Key_Return);
            QTest::keyClicks(editor(), lines[i]);
        }
    }

private slots:
    void init() {
        Settings(ini()).ecrireIni("FirstLoad", "faux");
        w = std::make_unique<FrmP>(Settings(ini()), prompt);
        w->runModal = [](QDialog& dialog) {
            if (!test::declineSaveQuestion(dialog)) dialog.exec();
        };
        w->load("");
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        editor()->setFocus();
    }
    void cleanup() {
        w->close();
        w.reset();
    }

    void theStatusBarShowsTheCaretsPlaceAndTheCommandsSyntax() {
        EditorWidget* e = editor();
        QCOMPARE(w->LblPosition->text(), QStringLiteral("Ligne 3, Col 1"));
        QVERIFY(w->LblSyntaxe->text().isEmpty());
        // The position stands whole inside the status bar of a first run's narrow window.
        QVERIFY(w->statusBar()->rect().contains(w->LblPosition->geometry()));
        QVERIFY(w->LblPosition->width() >= w->LblPosition->fontMetrics().horizontalAdvance(w->LblPosition->text()));
        typeLines({"Disp 1", "For i,1,10"});
        QCOMPARE(w->LblPosition->text(), QStringLiteral("Ligne 4, Col 11"));
        QVERIFY(w->LblSyntaxe->text().isEmpty());
        // On "For": its syntax, the description as the tooltip, both for screen readers.
        QTest::keyClick(e, Qt::Key_Home);
        QTest::keyClick(e, Qt::Key_Right);
        QTest::keyClick(e, Qt::Key_Right);
        QCOMPARE(w->LblPosition->text(), QStringLiteral("Ligne 4, Col 3"));
        QCOMPARE(w->LblSyntaxe->text(), syntaxOf("For"));
        QCOMPARE(w->LblSyntaxe->accessibleName(), syntaxOf("For"));
        QCOMPARE(w->LblPosition->accessibleName(), w->LblPosition->text());
        QVERIFY(w->LblSyntaxe->toolTip().startsWith(QStringLiteral("R\u00e9p\u00e8te un bloc")));
        // Right after the name still; in the arguments no longer.
        QTest::keyClick(e, Qt::Key_Right);
        QCOMPARE(w->LblSyntaxe->text(), syntaxOf("For"));
        QTest::keyClick(e, Qt::Key_End);
        QVERIFY(w->LblSyntaxe->text().isEmpty());
        // Up on "Disp", and the texts follow the interface language.
        QTest::keyClick(e, Qt::Key_Up);
        QTest::keyClick(e, Qt::Key_Home);
        for (int i = 0; i < 4; ++i) QTest::keyClick(e, Qt::Key_Right);
        QCOMPARE(w->LblSyntaxe->text(), syntaxOf("Disp"));
        w->appliquerEn();
        QCOMPARE(w->LblPosition->text(), QStringLiteral("Line 3, Col 5"));
        QCOMPARE(w->LblSyntaxe->toolTip(), QStringLiteral("Shows values or texts on the program I/O screen"));
        // The count is the syntax check's: its line for the caret is the status bar's.
        const LineColumn lc = lineColumnOf(e->text(), e->caret());
        QCOMPARE(w->LblPosition->text(), QStringLiteral("Line %1, Col %2").arg(lc.line).arg(lc.column));
        w->appliquerFr();
    }

    void f1ShowsTheHelpOfTheCommandAtTheCaretAndEscapeClosesIt() {
        EditorWidget* e = editor();
        QTest::keyClicks(e, "For i,1,3");
        e->setCaret(10);
        QTest::keyClick(e, Qt::Key_F1);
        QTRY_VERIFY(w->helpWindow && w->helpWindow->isVisible());
        QCOMPARE(w->helpWindow->LblSyntaxe->text(), syntaxOf("For"));
        QVERIFY(w->helpWindow->LblDescription->text().contains(QStringLiteral("EndFor")));
        // The help does not take the keyboard: typing goes on in the editor.
        QVERIFY(e->hasFocus());
        QTest::keyClick(e, Qt::Key_Escape);
        QTRY_VERIFY(!w->helpWindow->isVisible());
        QCOMPARE(body(*w), std::string("For i,1,3"));
        // Away from any command, it says so.
        QTest::keyClick(e, Qt::Key_End);
        QTest::keyClick(e, Qt::Key_F1);
        QTRY_VERIFY(w->helpWindow->isVisible());
        QVERIFY(w->helpWindow->LblSyntaxe->isHidden());
        QCOMPARE(w->helpWindow->LblDescription->text(), QStringLiteral("Aucune commande au curseur."));
        QTest::keyClick(e, Qt::Key_Escape);
        QTRY_VERIFY(!w->helpWindow->isVisible());
    }

    void ctrlSpaceCompletesFromTheCommandsAndTheProgramsNames() {
        EditorWidget* e = editor();
        QTest::keyClicks(e, "Di");
        QTest::keyClick(e, Qt::Key_Space, Qt::ControlModifier);
        QAbstractItemView* list = e->completer()->popup();
        QTRY_VERIFY(list->isVisible());
        QStringList offered;
        for (int row = 0; row < e->completer()->completionModel()->rowCount(); ++row)
            offered << e->completer()->completionModel()->index(row, 0).data().toString();
        QVERIFY2(offered.contains(QStringLiteral("Disp")), qPrintable(offered.join(u',')));
        QVERIFY(offered.contains(QStringLiteral("Dialog")));
        QVERIFY(!offered.contains(QStringLiteral("For")));
        // Down to "Disp", then Return takes it in place of "Di".
        for (int i = 0; i < offered.size() && list->currentIndex().data().toString() != QStringLiteral("Disp"); ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(body(*w), std::string("Disp"));
        QCOMPARE(e->caret(), 12);

        // The program's own names, and typing on narrows the list; a function keeps its "(".
        w->setNameField("calc(total)");
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "Define twice(x)=2*x");
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "t");
        QTest::keyClick(e, Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY(list->isVisible());
        QTest::keyClicks(list, "wi");
        QTRY_COMPARE(e->completer()->completionCount(), 1);
        QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("twice("));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->currentIndex()).center());
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(body(*w), std::string("Disp\r\nDefine twice(x)=2*x\r\ntwice("));
        QTest::keyClicks(e, "tot");
        QTest::keyClick(e, Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY(list->isVisible());
        QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("total"));
        // Escape closes the list and changes nothing.
        QTest::keyClick(list, Qt::Key_Escape);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(body(*w), std::string("Disp\r\nDefine twice(x)=2*x\r\ntwice(tot"));
    }

    void typedArrowsAndComparisonsBecomeTheCalculatorsSigns() {
        EditorWidget* e = editor();
        QTest::keyClicks(e, "5->x");
        QCOMPARE(body(*w), std::string("5\x16x"));
        QTest::keyClicks(e, ":If x>=1 and x<=9 and x/=2 and x!=3");
        QCOMPARE(body(*w), std::string("5\x16x:If x\x9E" "1 and x\x9C" "9 and x\x9D" "2 and x\x9D" "3"));
        // One Undo gives the two typed characters back.
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "1->");
        QCOMPARE(body(*w).substr(body(*w).size() - 2), std::string("1\x16"));
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(body(*w).substr(body(*w).size() - 3), std::string("1->"));
        // In a string they stay as typed.
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "Disp \"a->b\"");
        QVERIFY(body(*w).ends_with("Disp \"a->b\""));

        // The options dialog turns it off, and the settings file keeps it off.
        QVERIFY(w->digraphsEnabled());
        test::ModalScript script;
        script.then<FrmOption>([](FrmOption& d) {
            QVERIFY(d.ChkDigraphes->isChecked());
            QCOMPARE(d.ChkDigraphes->text(), QStringLiteral("Remplacer -> >= <= /= par \u2192 \u2265 \u2264 \u2260"));
            QTest::mouseClick(d.ChkDigraphes, Qt::LeftButton, {}, QPoint(6, d.ChkDigraphes->height() / 2));
            QTest::mouseClick(d.CmdFermer, Qt::LeftButton);
        });
        w->option_->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        QVERIFY(!w->digraphsEnabled());
        QCOMPARE(Settings(ini()).lireIni("Digraphes"), std::string("Faux"));
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "2->y");
        QVERIFY(body(*w).ends_with("\r\n2->y"));
    }

    void anErrorIsMarkedWhenTypingPausesAndTheMarkGoesWhenFixed() {
        EditorWidget* e = editor();
        typeLines({"Disp 1", "Disp 2"});
        QTRY_VERIFY(w->LblErreur->text().isEmpty());
        QTest::keyClick(e, Qt::Key_Up);
        QTest::keyClick(e, Qt::Key_End);
        const QList<QTextLayout::FormatRange> coloured = formatsOfLine(*e, 3);
        QVERIFY(!coloured.isEmpty());
        QTest::keyClicks(e, "+)");
        // Nothing while typing goes on; after the pause, line 3 is marked.
        QCOMPARE(e->errorMarkLine(), 0);
        QTRY_COMPARE(e->errorMarkLine(), 3);
        QVERIFY2(w->LblErreur->text().startsWith(QStringLiteral("Ligne 3 : ")), qPrintable(w->LblErreur->text()));
        QCOMPARE(w->LblErreur->accessibleName(), w->LblErreur->text());
        QCOMPARE(e->errorMarkMessage(), w->LblErreur->text());
        QVERIFY(prompt.shown.empty());
        const QList<QTextEdit::ExtraSelection> marks = e->extraSelections();
        QCOMPARE(marks.size(), 2);
        QCOMPARE(marks[1].cursor.blockNumber(), 2);
        QCOMPARE(marks[1].format.underlineStyle(), QTextCharFormat::WaveUnderline);
        // The syntax colours stay under the mark.
        QCOMPARE(formatsOfLine(*e, 3).first().format.foreground(), coloured.first().format.foreground());
        // Hovering the line shows the message; another line shows none.
        const QRect line3 = e->cursorRect(QTextCursor(e->document()->findBlockByNumber(2)));
        QHelpEvent hover(QEvent::ToolTip, line3.center(), e->viewport()->mapToGlobal(line3.center()));
        QApplication::sendEvent(e->viewport(), &hover);
        QTRY_COMPARE(QToolTip::text(), w->LblErreur->text());
        QToolTip::hideText();

        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClick(e, Qt::Key_Backspace);
        QTRY_COMPARE(e->errorMarkLine(), 0);
        QVERIFY(w->LblErreur->text().isEmpty());
        QVERIFY(e->extraSelections().isEmpty());
        QCOMPARE(body(*w), std::string("Disp 1\r\nDisp 2"));
    }

    void theCatalogueSearchKeepsMatchingEntriesAndShowsTheirHelp() {
        FrmCatalogue& cat = w->frmCatalogue();
        QListWidget& list = *cat.LstCat;
        QVERIFY(list.count() > 300);
        cat.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&cat));
        cat.TxtCherche->setFocus();
        QTest::keyClicks(cat.TxtCherche, "HOME");
        QStringList kept;
        for (int row = 0; row < list.count(); ++row)
            if (!list.isRowHidden(row)) kept << list.item(row)->text();
        QCOMPARE(kept, (QStringList{"ClrHome", "DispHome"}));
        // Down goes to the list and selects the first kept entry; its help stands under it.
        QTest::keyClick(cat.TxtCherche, Qt::Key_Down);
        QCOMPARE(cat.focusWidget(), static_cast<QWidget*>(&list));
        QCOMPARE(list.currentItem()->text(), QStringLiteral("ClrHome"));
        QVERIFY(cat.LblAide->text().startsWith(QStringLiteral("ClrHome\n")));
        QCOMPARE(list.currentItem()->toolTip(), cat.LblAide->text());
        // Keys in the list only select.
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.currentItem()->text(), QStringLiteral("DispHome"));
        QCOMPARE(cat.LblAide->text(), syntaxOf("DispHome") + QStringLiteral("\nAffiche l'\u00e9cran de calcul"));
        QCOMPARE(body(*w), std::string());
        // Enter in the field inserts the first kept entry and gives the editor the keyboard.
        cat.TxtCherche->setFocus();
        cat.TxtCherche->selectAll();
        QTest::keyClicks(cat.TxtCherche, "sin");
        QTest::keyClick(cat.TxtCherche, Qt::Key_Return);
        QCOMPARE(body(*w), std::string("sin("));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->RichTxt1));
        // The inverse functions read ⁻¹ in the list and insert code 180.
        QStringList inverse;
        for (int row = 0; row < list.count(); ++row)
            if (!list.isRowHidden(row) && list.item(row)->text().contains(QStringLiteral("\u207B\u00B9"))) inverse << list.item(row)->text();
        QCOMPARE(inverse, (QStringList{"sinh\u207B\u00B9(", "sin\u207B\u00B9("}));
        cat.activateWindow();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.findItems(inverse[1], Qt::MatchExactly).front()).center());
        QCOMPARE(body(*w), std::string("sin(sin\xB4("));
        // In English, the help follows.
        QCOMPARE(cat.TxtCherche->placeholderText(), QStringLiteral("Rechercher"));
        w->appliquerEn();
        QCOMPARE(cat.TxtCherche->placeholderText(), QStringLiteral("Search"));
        const CommandHelp* arcsine = findCommandHelp("sin\xB4(");
        QCOMPARE(cat.LblAide->text(), shown(arcsine->syntax) + u'\n' + shown(arcsine->english));
        w->appliquerFr();
    }

    void goToALineOrALabelOrADefinition() {
        EditorWidget* e = editor();
        typeLines({"Lbl top", "Disp 1", "Define f(x)=x^2", "Disp 2", "Goto top"});
        e->setCaret(8);
        test::ModalScript script;
        script.then<FrmAllerLigne>([](FrmAllerLigne& d) {
            // The current line is offered, selected: typed digits replace it.
            QCOMPARE(d.TxtLigne->text(), QStringLiteral("3"));
            QCOMPARE(d.windowTitle(), QStringLiteral("Aller \u00e0 la ligne"));
            QTest::keyClicks(d.TxtLigne, "6");
            QTest::keyClick(d.TxtLigne, Qt::Key_Return);
        });
        QTest::keyClick(e, Qt::Key_G, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(lineColumnOf(e->text(), e->caret()), (LineColumn{6, 1}));
        QCOMPARE(w->LblPosition->text(), QStringLiteral("Ligne 6, Col 1"));

        // The menu lists the labels and definitions, rebuilt as it opens. (The window
        // manager gives the main window back the keyboard after the dialog.)
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(e, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(w->allerA));
        QStringList entries;
        for (QAction* a : w->allerA->actions())
            if (!a->isSeparator()) entries << a->text();
        QCOMPARE(entries, (QStringList{"Ligne...", "Lbl top\t3", "Define f(x)\t5"}));
        QAction* define = w->allerA->actions().last();
        QTest::mouseClick(w->allerA, Qt::LeftButton, {}, w->allerA->actionGeometry(define).center());
        QTRY_VERIFY(!w->allerA->isVisible());
        QCOMPARE(lineColumnOf(e->text(), e->caret()), (LineColumn{5, 1}));
        // A label added since is there the next time.
        QTest::keyClick(e, Qt::Key_End);
        QTest::keyClicks(e, ":Lbl again");
        QTest::keyClick(e, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(w->allerA));
        QCOMPARE(w->allerA->actions().last()->text(), QStringLiteral("Lbl again\t5"));
        QTest::keyClick(w->allerA, Qt::Key_Escape);
    }

    void theInverseMarkShowsAndCopiesAsSuperscriptMinusOne() {
        EditorWidget* e = editor();
        // The palette's button reads ⁻¹ and inserts code 180.
        FrmChar& palette = w->frmChar();
        PaletteButton* inverse = nullptr;
        for (PaletteButton* b : palette.buttons)
            if (b->toolTip().startsWith(QStringLiteral("180 : "))) inverse = b;
        QVERIFY(inverse);
        QCOMPARE(inverse->text(), QStringLiteral("\u207B\u00B9"));
        QTest::keyClicks(e, "x");
        QTest::mouseClick(inverse, Qt::LeftButton);
        QCOMPARE(body(*w), std::string("x\xB4"));
        // One character in the editor: the caret steps over it once.
        QCOMPARE(e->caret(), 10);
        QTest::keyClick(e, Qt::Key_Left);
        QCOMPARE(e->caret(), 9);
        // Copied, the clipboard reads ⁻¹; pasted back, it is code 180 again.
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Home);
        QTest::keyClick(e, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x\u207B\u00B9"));
        QTest::keyClick(e, Qt::Key_End);
        QApplication::clipboard()->setText(QStringLiteral(":sin\u207B\u00B9(y)"));
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(body(*w), std::string("x\xB4:sin\xB4(y)"));
        // The editor draws ⁻¹ over the unit's own accent: the cell is not the accent's.
        QTest::keyClick(e, Qt::Key_End);
        e->viewport()->repaint();
        const QImage drawn = e->viewport()->grab().toImage();
        const QTextBlock line = e->document()->findBlockByNumber(2);
        auto xAt = [&](int inLine) {
            QTextCursor c(line);
            c.setPosition(line.position() + inLine);
            return e->cursorRect(c);
        };
        const int left = xAt(1).left();
        const int right = xAt(2).left();
        const int top = xAt(1).top();
        const int baseline = top + QFontMetrics(e->font()).ascent();
        auto column = [&](int x) {
            int dark = 0;
            for (int y = top; y < baseline; ++y)
                if (qGray(drawn.pixel(x, y)) < 160) ++dark;
            return dark;
        };
        // Its ink has two parts side by side: the minus left, the taller one right.
        int ink = 0, tallest = 0, tallestAt = left;
        for (int x = left + 1; x < right; ++x) {
            ink += column(x);
            if (column(x) > tallest) tallest = column(x), tallestAt = x;
        }
        QVERIFY(ink > 0);
        QVERIFY2(tallestAt > (left + right) / 2, "the stem of the one stands right of the minus");
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
