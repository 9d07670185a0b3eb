// The program text file (.68kb) in the main window: the open browser lists it and
// opens it under the name and folder of its name line, Save writes it back as
// text, and Save as offers it as a type.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "support/ScratchDir.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;
using test::ScratchDir;

class TestProgramText : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> folder_;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;
    std::string folder() const { return folder_->path().toStdString(); }

private slots:
    // Each test has its own folder and settings: no Document of another test comes back.
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        qputenv("KORVANE_INI", (folder_->path() + "/Korvane.INI").toUtf8());
        w = std::make_unique<FrmP>(Settings((folder_->path() + "/Korvane.INI").toStdString()), prompt);
        w->runModal = test::declineSaveQuestion;
        w->load("");
    }
    void cleanup() {
        w->runModal = test::declineSaveQuestion;
        w->close();
        w.reset();
    }

    void opensAndSavesAsText() {
        const std::string path = folder() + "/demo.68kb";
        ScratchDir::write(path, "algebra\\demo(n)\nPrgm\nFor i,1,n\n Disp \"\xCE\xB8\xE2\x86\x92x\"\nEndFor\nEndPrgm\n");
        bool listed = false;
        w->runModal = [&](QDialog& dialog) {
            auto* d = qobject_cast<FrmParcourir*>(&dialog);
            QVERIFY(d);
            dialog.show();
            QCOMPARE(d->Dir1->setPath(folder_->path()), QString());
            const auto found = d->File1->findItems("demo.68kb", Qt::MatchExactly);
            listed = found.size() == 1;
            QVERIFY(listed);
            d->File1->setCurrentItem(found.front());
            QTest::mouseClick(d->CmdSelectOK, Qt::LeftButton);
        };
        w->ouvrir->trigger();
        QVERIFY(listed);
        QCOMPARE(w->nameField(), std::string("demo(n)"));
        QCOMPARE(w->folderField(), std::string("algebra"));
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nFor i,1,n\r\n Disp \"\x88\x16x\"\r\nEndFor\r\nEndPrgm"));
        QVERIFY(w->enregistrer->isEnabled());

        // An edit, then Save (Ctrl+S): the same file, still text, the new line in it.
        w->runModal = [](QDialog& d) { QFAIL(qPrintable("Save of an opened file asks nothing: " + QString(d.metaObject()->className()))); };
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(static_cast<int>(w->RichTxt1->text().find("EndFor")));
        QTest::keyClicks(w->RichTxt1, "disp i");
        QTest::keyClick(w->RichTxt1, Qt::Key_Return);
        QTest::keyClick(w->RichTxt1, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ScratchDir::read(path),
                 std::string("algebra\\demo(n)\nPrgm\nFor i,1,n\n Disp \"\xCE\xB8\xE2\x86\x92x\"\nDisp i\nEndFor\nEndPrgm\n"));

        // A file refused on opening leaves the Document as it was.
        const std::string bad = folder() + "/bad.68kb";
        ScratchDir::write(bad, "much too long name(n)\nPrgm\nEndPrgm\n");
        const std::string before = w->RichTxt1->text();
        w->runModal = [&](QDialog& dialog) {
            auto* d = qobject_cast<FrmParcourir*>(&dialog);
            QVERIFY(d);
            dialog.show();
            QCOMPARE(d->Dir1->setPath(folder_->path()), QString());
            d->File1->setCurrentItem(d->File1->findItems("bad.68kb", Qt::MatchExactly).front());
            QTest::mouseClick(d->CmdSelectOK, Qt::LeftButton);
        };
        prompt.shown.clear();
        w->ouvrir->trigger();
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(w->RichTxt1->text(), before);
        QCOMPARE(w->nameField(), std::string("demo(n)"));
    }

    void saveAsOffersTheTextFile() {
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, "disp 1");
        bool offered = false;
        w->runModal = [&](QDialog& dialog) {
            dialog.show();
            if (auto* q = qobject_cast<FrmSaveTok*>(&dialog)) {
                q->CmdSave->click();
                return;
            }
            auto* d = qobject_cast<FrmEnregistrer*>(&dialog);
            QVERIFY(d);
            const int index = d->CboType->findText("Texte de programme (*.68kb)");
            offered = index == d->CboType->count() - 1;
            QVERIFY(offered);
            QCOMPARE(d->Dir1->setPath(folder_->path()), QString());
            d->CboType->setCurrentIndex(index);
            d->TxtNom->setText("first");
            QTest::mouseClick(d->CmdSelectOK, Qt::LeftButton);
        };
        w->enregistrerSous->trigger();
        QVERIFY(offered);
        QCOMPARE(QString::fromStdString(ScratchDir::read(folder() + "/first.68kb")), QString("main\\nouveau()\nPrgm\nDisp 1\nEndPrgm\n"));
        QCOMPARE(w->windowTitle().contains("first.68kb"), true);
        QVERIFY(!w->document.tokenizedFile);
    }
};

QTEST_MAIN(TestProgramText)
#include "tst_program_text.moc"
