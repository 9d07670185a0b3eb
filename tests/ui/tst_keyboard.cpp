// The keyboard as a desktop user drives the main window: the catalogue moved by
// keys, the focus after an insertion, the protected lines under every key, the
// menus from the keyboard, and Escape in the kind question.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "editor/ui/EditorWidget.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "files/ui/FrmSaveTok.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmP.h"
#include "ui/support/ModalScript.h"

using namespace korvane;

namespace {

const std::string kOpening = "\r\nPrgm\r\n";
const std::string kClosing = "\r\nEndPrgm";

bool frameIntact(const std::string& text) {
    return text.size() >= 17 && text.compare(0, kOpening.size(), kOpening) == 0 &&
           text.compare(text.size() - kClosing.size(), kClosing.size(), kClosing) == 0;
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedPrompt prompt;

    std::unique_ptr<FrmP> started() {
        const std::string ini = (dir.path() + "/" + QTest::currentTestFunction() + ".INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        const std::string catalogue = (dir.path() + "/catalogue.dat").toStdString();
        std::ofstream(catalogue, std::ios::binary) << "ClrIO\r\nClrTable\r\ncolDim(\r\ncolNorm(\r\nDisp\r\n";
        auto w = std::make_unique<FrmP>(Settings(ini), prompt);
        w->catalogueFiles = {catalogue};
        w->load("");
        w->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(w.get())); }();
        return w;
    }

    // The tool window takes the keyboard, as a click on it does on a desktop.
    static void activate(QWidget& window) {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    // Answers "Non" to the save question when it comes, and whatever follows.
    static void quit(FrmP& w) {
        test::ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w.close();
    }

private slots:
    void catalogueKeysSelectAndEnterInserts() {
        auto w = started();
        FrmCatalogue& cat = w->frmCatalogue();
        QListWidget& list = *cat.LstCat;
        const std::string empty = w->RichTxt1->text();
        activate(cat);
        list.setFocus();
        list.setCurrentRow(0);
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Up);
        QTest::keyClicks(&list, "col");
        QCOMPARE(list.currentItem()->text(), QStringLiteral("colDim("));
        QCOMPARE(w->RichTxt1->text(), empty);

        activate(cat);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\ncolDim(\r\nEndPrgm"));
        // A click inserts too, on the row under the pointer.
        activate(cat);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(4)).center());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\ncolDim(Disp\r\nEndPrgm"));
        quit(*w);
    }

    void theEditorHasTheKeyboardAfterEveryInsertion() {
        auto w = started();
        FrmCatalogue& cat = w->frmCatalogue();
        FrmChar& palette = w->frmChar();
        // The keyboard goes where the desktop sends it: the active window's focus.
        auto typeNext = [&](const char* what) {
            QCoreApplication::processEvents();
            QVERIFY2(QApplication::activeWindow() == w.get(), what);
            QVERIFY2(QApplication::focusWidget() == w->RichTxt1, what);
            QTest::keyClicks(QApplication::focusWidget(), "z");
        };

        activate(cat);
        QTest::mouseClick(cat.LstCat->viewport(), Qt::LeftButton, {}, cat.LstCat->visualItemRect(cat.LstCat->item(0)).center());
        typeNext("after the catalogue");
        activate(palette);
        QTest::mouseClick(palette.buttons.front(), Qt::LeftButton);
        typeNext("after the palette");
        w->TxtNomFichier->setFocus();
        QTest::mouseClick(w->CmdCatalog, Qt::LeftButton);
        typeNext("after a quick button");
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nClrIOz\x80zDispz\r\nEndPrgm"));
        QCOMPARE(w->nameField(), std::string("nouveau()"));
        quit(*w);
    }

    void returnAfterPrgmOpensTheFirstBodyLine() {
        auto w = started();
        EditorWidget* e = w->RichTxt1;
        e->setFocus();
        QTest::keyClicks(e, "Disp 1");
        e->setCaret(6);  // after "Prgm"
        QTest::keyClick(e, Qt::Key_Return);
        QVERIFY(e->hasFocus());
        QCOMPARE(e->caret(), 8);
        QTest::keyClicks(e, "x");
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nx\r\nDisp 1\r\nEndPrgm"));
        QCOMPARE(w->nameField(), std::string("nouveau()"));
        quit(*w);
    }

    void noKeyChangesTheProtectedLines() {
        auto w = started();
        EditorWidget* e = w->RichTxt1;
        e->setFocus();
        QTest::keyClicks(e, "ab cd");
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "ef gh");
        const Qt::Key keys[] = {Qt::Key_E, Qt::Key_X, Qt::Key_B, Qt::Key_K, Qt::Key_U, Qt::Key_W,
                                Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab};
        const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                                   Qt::AltModifier, Qt::ControlModifier | Qt::ShiftModifier,
                                                   Qt::AltModifier | Qt::ShiftModifier, Qt::MetaModifier};
        for (const Qt::Key key : keys) {
            for (const Qt::KeyboardModifiers modifier : modifiers) {
                const int length = e->length();
                for (const int caret : {0, 2, 6, 7, 8, 9, length - 11, length - 10, length - 9, length - 7, length - 3, length}) {
                    e->setFocus();
                    e->setCaret(caret);
                    QTest::keyClick(e, key, modifier);
                    QVERIFY2(frameIntact(e->text()),
                             qPrintable(QStringLiteral("key %1, modifiers %2, caret %3: %4")
                                            .arg(key, 0, 16)
                                            .arg(modifier.toInt(), 0, 16)
                                            .arg(caret)
                                            .arg(QString::fromLatin1(e->text().c_str()))));
                }
            }
        }
        // Alt with a letter types nothing, inside the body either.
        e->setFocus();
        const std::string before = e->text();
        e->setCaret(9);
        QTest::keyClick(e, Qt::Key_Q, Qt::AltModifier);
        QCOMPARE(e->text(), before);
        quit(*w);
    }

    void menusFromTheKeyboard() {
        auto w = started();
        for (const bool english : {false, true}) {
            if (english) w->appliquerEn();
            else w->appliquerFr();
            QStringList marks;
            for (QAction* menu : w->menuBar()->actions()) {
                const qsizetype mark = menu->text().indexOf(QRegularExpression(QStringLiteral("&[^&]")));
                QVERIFY2(mark >= 0, qPrintable(menu->text()));
                const QString letter = menu->text().mid(mark + 1, 1).toLower();
                QVERIFY2(!marks.contains(letter), qPrintable(menu->text()));
                marks << letter;
            }
            QCOMPARE(w->fichier->title(), english ? QStringLiteral("&File") : QStringLiteral("&Fichier"));
            QCOMPARE(w->edition->title(), english ? QStringLiteral("&Edit") : QStringLiteral("&Edition"));
        }
        w->appliquerFr();

        // F10 opens the first menu; Alt and a title's letter opens that menu.
        w->RichTxt1->setFocus();
        QTest::keyClick(w->RichTxt1, Qt::Key_F10);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(w->fichier));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        const std::string before = w->RichTxt1->text();
        w->RichTxt1->setFocus();
        QTest::keyClick(w->RichTxt1, Qt::Key_E, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(w->edition));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QCOMPARE(w->RichTxt1->text(), before);
        quit(*w);
    }

    void escapeInTheKindQuestionCancelsNew() {
        auto w = started();
        w->OpenChxPrgmFunc = true;
        w->PrgmFunc = true;
        EditorWidget* e = w->RichTxt1;
        e->setFocus();
        QTest::keyClicks(e, "Disp 1");
        w->setNameField("prog(a)");
        const std::string text = e->text();
        const auto header = w->document.variableHeader;
        const auto trailer = w->document.variableTrailer;

        test::ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); })
            .then<FrmChxPrgmFunc>([](FrmChxPrgmFunc& d) {
                // "Ne plus afficher." ticked, then Escape: nothing of it stays.
                QTest::mouseClick(d.Check1, Qt::LeftButton, {}, QPoint(4, d.Check1->height() / 2));
                QTest::keyClick(&d, Qt::Key_Escape);
            });
        QTest::mouseClick(w->CmdNouveau, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(e->text(), text);
        QCOMPARE(w->nameField(), std::string("prog(a)"));
        QVERIFY(w->document.variableHeader == header);
        QVERIFY(w->document.variableTrailer == trailer);
        QVERIFY(w->OpenChxPrgmFunc);
        QVERIFY(w->PrgmFunc);
        quit(*w);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
