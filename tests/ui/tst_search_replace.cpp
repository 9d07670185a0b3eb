// Search and replace from the Edit menu as a user drives it: Replace takes only a
// selected occurrence, Replace all takes every one in one undo step, and the
// dialog and its message boxes speak the interface's language from the first show.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmRechercher.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/QtPrompt.h"
#include "ui/support/ModalScript.h"

using namespace korvane;

namespace {

QStringList buttonTexts(QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* b : box.buttons()) texts << b->text();
    texts.sort();
    return texts;
}

}  // namespace

class TestSearchReplace : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    // A first run: no language stored, so the interface is French.
    std::unique_ptr<FrmP> started(QtPrompt& prompt) {
        const std::string ini = (dir.path() + "/" + QTest::currentTestFunction() + ".INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        auto w = std::make_unique<FrmP>(Settings(ini), prompt);
        prompt.setParent(w.get());
        w->load("");
        return w;
    }

    static FrmRechercher& openSearch(FrmP& w) {
        w.RichTxt1->setFocus();
        QTest::keyClick(w.RichTxt1, Qt::Key_F, Qt::ControlModifier);
        return *w.searchWindow;
    }

    static void quit(FrmP& w) {
        test::ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w.close();
    }

private slots:
    void replaceOnlyASelectedOccurrenceAndReplaceAll() {
        QtPrompt prompt;
        auto w = started(prompt);
        EditorWidget* e = w->RichTxt1;
        e->setFocus();
        QTest::keyClicks(e, "x:disp a");
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "disp b:disp c");
        e->setCaret(8);

        FrmRechercher& search = openSearch(*w);
        QTest::keyClicks(search.TxtRechercher, "DISP");
        QTest::keyClicks(search.TxtRemplacer, "Output");
        // Nothing selected: the first press finds, the second replaces.
        QTest::mouseClick(search.CmdRemplacer, Qt::LeftButton);
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nx:Disp a\r\nDisp b:Disp c\r\nEndPrgm"));
        QCOMPARE(e->selectionStart(), 10);
        QCOMPARE(e->selectionLength(), 4);
        QTest::mouseClick(search.CmdRemplacer, Qt::LeftButton);
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nx:Output a\r\nDisp b:Disp c\r\nEndPrgm"));

        // Replace all: every other occurrence, the count told, one undo step.
        QString told;
        QStringList buttons;
        test::ModalScript script;
        script.then<QMessageBox>([&](QMessageBox& box) {
            told = box.text();
            buttons = buttonTexts(box);
            QTest::keyClick(&box, Qt::Key_Return);
        });
        QTest::mouseClick(search.CmdRemplacerTout, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(told, QString::fromUtf8("2 occurrence(s) remplacée(s)"));
        QCOMPARE(buttons, QStringList{"OK"});
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nx:Output a\r\nOutput b:Output c\r\nEndPrgm"));
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e->text(), std::string("\r\nPrgm\r\nx:Output a\r\nDisp b:Disp c\r\nEndPrgm"));
        quit(*w);
    }

    void theInterfacesLanguageFromTheFirstShow() {
        QtPrompt prompt;
        auto w = started(prompt);
        EditorWidget* e = w->RichTxt1;
        e->setFocus();
        QTest::keyClicks(e, "disp a");
        e->setCaret(e->length() - 9);

        FrmRechercher& search = openSearch(*w);
        QCOMPARE(search.windowTitle(), QStringLiteral("Rechercher"));
        QCOMPARE(search.CmdSuivant->text(), QStringLiteral("Suivant"));
        QCOMPARE(search.CmdRemplacerTout->text(), QStringLiteral("Remplacer tout"));
        QTest::keyClicks(search.TxtRechercher, "disp");

        // At the end of the text, the wrap-around question, with French buttons.
        QString asked;
        QStringList buttons;
        test::ModalScript script;
        script.then<QMessageBox>([&](QMessageBox& box) {
            asked = box.text();
            buttons = buttonTexts(box);
            QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        });
        QTest::mouseClick(search.CmdSuivant, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(asked, QString::fromUtf8("Voulez-vous continuer au début du programme ?"));
        QCOMPARE(buttons, (QStringList{"Non", "Oui"}));
        QCOMPARE(e->selectionStart(), 8);

        // Switched to English, the open dialog and its questions follow.
        w->appliquerEn();
        QCOMPARE(search.windowTitle(), QStringLiteral("Search"));
        QCOMPARE(search.CmdRemplacerTout->text(), QStringLiteral("Replace all"));
        e->setCaret(e->length() - 9);
        script.then<QMessageBox>([&](QMessageBox& box) {
            asked = box.text();
            buttons = buttonTexts(box);
            QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
        });
        QTest::mouseClick(search.CmdSuivant, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(asked, QStringLiteral("Do you want to continue from the beginning of the program?"));
        QCOMPARE(buttons, (QStringList{"No", "Yes"}));
        quit(*w);
    }
};

QTEST_MAIN(TestSearchReplace)
#include "tst_search_replace.moc"
