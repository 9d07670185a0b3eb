// The options dialog and the about box, opened from the Help menu and answered
// inside their own modal loop as a person answers them.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmAbout1.h"
#include "shell/ui/FrmOption.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

// Runs `act` on the dialog of type D once its modal loop runs, and records whether
// it came.
template <typename D>
void whenShown(std::function<void(D&)> act, bool& came) {
    came = false;
    QTimer::singleShot(0, [act, &came] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog) return;
        came = true;
        act(*dialog);
        // A failed check leaves the dialog open: close it so the test ends.
        if (dialog->isVisible()) dialog->reject();
    });
}

}  // namespace

class TestOptions : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    // One settings file per test.
    std::string ini() const {
        return (dir.path() + "/" + QString::fromLatin1(QTest::currentTestFunction()) + ".INI").toStdString();
    }

    // A main window whose save question is answered "Non" and whose other dialogs
    // run their real modal loop.
    std::unique_ptr<FrmP> started(ScriptedPrompt& prompt) {
        auto w = std::make_unique<FrmP>(Settings(ini()), prompt);
        w->runModal = [](QDialog& dialog) {
            if (!test::declineSaveQuestion(dialog)) dialog.exec();
        };
        w->load("");
        return w;
    }

private slots:
    void kindAndAskOption() {
        ScriptedPrompt prompt;
        auto w = started(prompt);
        // "OK" without touching anything makes new documents programs.
        w->PrgmFunc = false;
        bool came = false;
        whenShown<FrmOption>([](FrmOption& d) {
            QVERIFY(d.Opt1[0]->isChecked());
            QTest::mouseClick(d.CmdAppliquer, Qt::LeftButton);
        }, came);
        w->option_->trigger();
        QVERIFY(came);
        QVERIFY(w->PrgmFunc);
        QVERIFY(!QApplication::activeModalWidget());

        // "Fonction" then "Fermer" stores nothing; unticking the ask option is immediate.
        whenShown<FrmOption>([](FrmOption& d) {
            QVERIFY(d.Check1->isChecked());
            QTest::mouseClick(d.Opt1[1], Qt::LeftButton);
            QTest::mouseClick(d.Check1, Qt::LeftButton);
            QTest::mouseClick(d.CmdFermer, Qt::LeftButton);
        }, came);
        w->option_->trigger();
        QVERIFY(came);
        QVERIFY(w->PrgmFunc);
        QVERIFY(!w->OpenChxPrgmFunc);
        // Reopened, the box shows the option off; "Fonction" with "OK" is stored.
        whenShown<FrmOption>([](FrmOption& d) {
            QVERIFY(!d.Check1->isChecked());
            QTest::mouseClick(d.Opt1[1], Qt::LeftButton);
            QTest::mouseClick(d.CmdAppliquer, Qt::LeftButton);
        }, came);
        w->option_->trigger();
        QVERIFY(came);
        QVERIFY(!w->PrgmFunc);
        w->close();
    }

    void languageChangeIsImmediateAndSurvivesARestart() {
        {
            ScriptedPrompt prompt;
            auto w = started(prompt);
            QCOMPARE(w->Langue, std::string("1"));
            w->frmSaveTok().show();  // an open window follows the switch
            bool came = false;
            whenShown<FrmOption>([&w](FrmOption& d) {
                // A stored language that is neither "Fr" nor "En" is French.
                QCOMPARE(d.CboLangage->currentText(), QStringLiteral("Français"));
                d.CboLangage->setFocus();
                QTest::keyClick(d.CboLangage, Qt::Key_Down);
                QCOMPARE(d.CboLangage->currentText(), QStringLiteral("Anglais"));
                // Applied at once, before the dialog closes.
                QCOMPARE(w->fichier->title(), QStringLiteral("&File"));
                QCOMPARE(d.LblLangage->text(), QStringLiteral("Language :"));
                QCOMPARE(d.CmdFermer->text(), QStringLiteral("Exit"));
                QCOMPARE(w->frmSaveTok().CmdSave->text(), QStringLiteral("Yes"));
                QTest::mouseClick(d.CmdFermer, Qt::LeftButton);
            }, came);
            w->option_->trigger();
            QVERIFY(came);
            QCOMPARE(w->Langue, std::string("En"));
            w->close();
        }
        QCOMPARE(Settings(ini()).lireIni("Langue"), std::string("En"));
        ScriptedPrompt prompt;
        auto w = started(prompt);
        QCOMPARE(w->Langue, std::string("En"));
        QCOMPARE(w->fichier->title(), QStringLiteral("&File"));
        QCOMPARE(w->aide->title(), QStringLiteral("&Help"));
        QCOMPARE(w->LblRep->text(), QStringLiteral("Folder :"));
        bool came = false;
        whenShown<FrmOption>([](FrmOption& d) {
            QCOMPARE(d.CboLangage->currentText(), QStringLiteral("Anglais"));
            QTest::keyClick(d.CboLangage, Qt::Key_Up);
            QTest::mouseClick(d.CmdFermer, Qt::LeftButton);
        }, came);
        w->option_->trigger();
        QVERIFY(came);
        QCOMPARE(w->Langue, std::string("Fr"));
        QCOMPARE(w->fichier->title(), QStringLiteral("&Fichier"));
        w->close();
    }

    void aboutBox() {
        ScriptedPrompt prompt;
        auto w = started(prompt);
        for (const char* langue : {"Fr", "En"}) {
            if (std::string(langue) == "En") w->appliquerEn();
            bool came = false;
            QString title, version, description;
            bool centred = false;
            whenShown<FrmAbout1>([&](FrmAbout1& d) {
                title = d.windowTitle();
                version = d.lblVersion->text();
                description = d.lblDescription->text();
                const QPoint mid = w->frameGeometry().center(), box = d.frameGeometry().center();
                centred = std::abs(mid.x() - box.x()) <= 2 && std::abs(mid.y() - box.y()) <= 2;
                QVERIFY(!d.LblAuteur->text().isEmpty() && !d.Label1->text().isEmpty());
                // The project and its licence; no contact address that nobody reads.
                QVERIFY(d.lblDisclaimer->text().contains(QStringLiteral("GNU GPL")));
                QVERIFY(!d.lblDisclaimer->text().contains(QLatin1Char('@')));
                QTest::mouseClick(d.cmdOK, Qt::LeftButton);
            }, came);
            w->about->trigger();
            QVERIFY(came);
            QVERIFY(centred);
            QCOMPARE(version, QStringLiteral("Version 1.1.90"));
            if (std::string(langue) == "Fr") {
                QCOMPARE(title, QStringLiteral("A propos de Korvane"));
                QCOMPARE(description, QStringLiteral("Editeur de programme ti89 en tibasic pour PC."));
            } else {
                QCOMPARE(title, QStringLiteral("About of Korvane"));
                QCOMPARE(description, QStringLiteral("Editor of program ti89 in tibasic for PC."));
            }
            QVERIFY(!QApplication::activeModalWidget());
        }
        w->close();
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
