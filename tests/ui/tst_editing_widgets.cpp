// The Qt pieces of editing on the offscreen platform: the command menus in a menu
// bar, the search dialog over the editor widget, the clipboard port and the
// virtual-key codes of key events.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "editor/TypingColour.h"
#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmRechercher.h"
#include "editor/ui/QtClipboard.h"
#include "editor/ui/VirtualKeys.h"
#include "insert/ui/CommandMenuBuilder.h"

using namespace korvane;

class TestEditingWidgets : public QObject {
    Q_OBJECT
private slots:
    void commandMenusGoBeforeAide() {
        QMenuBar bar;
        bar.addMenu(QStringLiteral("Fichier"));
        bar.addMenu(QStringLiteral("Edition"));
        QMenu* aide = bar.addMenu(QStringLiteral("Aide"));
        std::vector<const MenuEntry*> chosen;
        const auto menus = buildCommandMenus(&bar, aide->menuAction(), "Fr",
                                             [&](const MenuEntry& entry) { chosen.push_back(&entry); });
        QStringList titles;
        for (QAction* action : bar.actions()) titles << action->text();
        QCOMPARE(titles, (QStringList{"Fichier", "Edition", QString::fromUtf8("Contrôle"), "I/O", "Var", "Mode",
                                      "Flib", "Vertel", "Aide"}));
        retitleCommandMenus(menus, "En");
        QCOMPARE(menus[0]->title(), QStringLiteral("Control"));

        // A leaf reports its entry; an array item carries its index.
        auto* fctFor = menus[0]->findChild<QAction*>("fctFor");
        QVERIFY(fctFor);
        fctFor->trigger();
        QCOMPARE(chosen.size(), size_t(1));
        QCOMPARE(chosen[0]->text, std::string("For \r\n\r\nEndFor"));
        QCOMPARE(chosen[0]->caret, 4);

        auto* angle = menus[3]->findChild<QMenu*>("fctAngle_");
        QVERIFY(angle);
        QCOMPARE(angle->title(), QStringLiteral("Angle"));
        QCOMPARE(angle->actions().size(), 2);
        QCOMPARE(angle->actions()[1]->text(), QStringLiteral("DEGREE"));
        QCOMPARE(angle->actions()[1]->data().toInt(), 2);
        angle->actions()[1]->trigger();
        QCOMPARE(chosen[1]->text, std::string("setMode(\"Angle\",\"DEGREE\")"));
        QCOMPARE(chosen[1]->caret, 25);

        // Calculator characters show through the character table.
        auto* com = menus[0]->findChild<QAction*>("Com");
        QVERIFY(com);
        QCOMPARE(com->text(), QString(QChar(0x00A9)));
        auto* general = menus[4]->findChild<QMenu*>("flibGeneral_");
        QVERIFY(general);
        QCOMPARE(general->title(), QString::fromUtf8("Général"));
        QCOMPARE(general->actions()[0]->text(), QStringLiteral("main\\flib("));
    }

    void typingRulesOnTheEditorWidget() {
        EditorWidget editor;
        editor.setPlainText(std::string("\r\nPrgm\r\nendif x\r\ndis'p\r\nEndPrgm"));
        editor.setCaret(8 + 6);
        editor.replaceRange(editor.caret(), 0, " ");
        QCOMPARE(handleKeyRelease(editor, vk::Space), ReleaseEffect::None);
        QCOMPARE(editor.text(), std::string("\r\nPrgm\r\nEndIf  x\r\ndis'p\r\nEndPrgm"));
        QCOMPARE(editor.colourAt(8), rgb(0, 0, 250));
        QCOMPARE(editor.caret(), 8 + 7);

        // Return at the end of the second line colours the line left, in place.
        editor.setCaret(8 + 10 + 5);
        editor.replaceRange(editor.caret(), 0, "\r\n");
        handleKeyRelease(editor, vk::Return);
        QCOMPARE(editor.text(), std::string("\r\nPrgm\r\nEndIf  x\r\nDis'p\r\n\r\nEndPrgm"));
        QCOMPARE(editor.colourAt(8 + 10), rgb(180, 100, 100));
        QCOMPARE(editor.caret(), 8 + 10 + 7);

        // The selection guard keeps the closing lines out of a selection.
        SelectionGuard guard;
        editor.setSelection(10, editor.length() - 10);
        guard.handleSelectionChange(editor);
        QCOMPARE(editor.selectionStart() + editor.selectionLength(), editor.length() - 9);
    }

    void searchDialogDrivesTheEditor() {
        EditorWidget editor;
        editor.setPlainText(std::string("\r\nPrgm\r\nDisp a\r\ndisp b\r\nEndPrgm"));
        editor.setCaret(8);
        ScriptedPrompt prompt;
        QPointer<FrmRechercher> dialog = new FrmRechercher(editor, prompt, [] { return std::string("En"); });
        QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Search"));
        QCOMPARE(dialog->CmdSuivant->text(), QStringLiteral("Next"));
        dialog->show();

        dialog->TxtRechercher->setText(QStringLiteral("DISP"));
        QTest::mouseClick(dialog->CmdSuivant, Qt::LeftButton);
        QCOMPARE(editor.selectionStart(), 8);
        QCOMPARE(editor.selectionLength(), 4);
        QTest::mouseClick(dialog->CmdSuivant, Qt::LeftButton);
        QCOMPARE(editor.selectionStart(), 16);  // the line break counts two

        dialog->TxtRemplacer->setText(QStringLiteral("Output"));
        QTest::mouseClick(dialog->CmdRemplacer, Qt::LeftButton);
        QCOMPARE(editor.text(), std::string("\r\nPrgm\r\nDisp a\r\nOutput b\r\nEndPrgm"));
        QVERIFY(prompt.shown.empty());

        QTest::mouseClick(dialog->CmdAnnuler, Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());  // closed is destroyed
    }

    void clipboardConvertsThroughTheCharacterTable() {
        QtClipboard clipboard;
        clipboard.setText(std::string("a\xA9\x8C\r\nb"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("a©π\nb"));
        QCOMPARE(clipboard.text().value_or(""), std::string("a\xA9\x8C\r\nb"));
        QGuiApplication::clipboard()->setText(QString::fromUtf8("x\ry"));
        QCOMPARE(clipboard.text().value_or(""), std::string("x\r\ny"));
    }

    void releaseKeepsTheCodeOfItsPress() {
        VirtualKeyTracker keys;
        // Shift+9 types "(" on the physical key with scan code 18; Shift goes up
        // first, so the release reports a bare "9", yet it ends the "(" press.
        QKeyEvent paren(QEvent::KeyPress, Qt::Key_ParenLeft, Qt::ShiftModifier, 18, 0x28, 0, QStringLiteral("("));
        QCOMPARE(keys.pressed(paren), vk::OpenParen);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_9, Qt::NoModifier, 18, 0x39, 0, QStringLiteral("9"));
        QCOMPARE(keys.released(release), vk::OpenParen);
        // Once released, the key is forgotten: a new bare "9" is a "9".
        QCOMPARE(keys.released(release), int(Qt::Key_9));

        QKeyEvent five(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QCOMPARE(VirtualKeyTracker::codeOf(five), 53);
        QKeyEvent keypadFive(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"));
        QCOMPARE(VirtualKeyTracker::codeOf(keypadFive), 0);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(VirtualKeyTracker::codeOf(enter), vk::Return);
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QCOMPARE(VirtualKeyTracker::codeOf(right), vk::Right);
    }
};

QTEST_MAIN(TestEditingWidgets)
#include "tst_editing_widgets.moc"
