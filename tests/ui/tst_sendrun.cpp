// Send and run (F5) against a simulated calculator on libticables' virtual cable:
// the arguments asked once and remembered, the keys that run the program, the
// screen taken after the options' delay and shown pixel for pixel; a failure at any
// step is one message and the Document stays as it was. The options' "Liaison"
// group sets that delay, the LCD's colours and tells where TiEmu's end stands.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "files/VariableFile.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "files/ui/FrmSaveTok.h"
#include "link/SimulatorProcess.h"
#include "link/ui/FrmArguments.h"
#include "link/ui/FrmEcran.h"
#include "shell/ui/FrmOption.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/LinkOptionsGroup.h"
#include "support/ScratchDir.h"
#include "ui/support/ModalScript.h"
#include "ui/support/VirtualCableWindow.h"

using namespace korvane;
using test::ModalScript;
using test::ScratchDir;
using test::SimulatorProcess;

namespace {

// A screen with every byte different from its neighbours: a crop, shift or
// mirror shows.
std::string screenBytes() {
    std::string bits(link::Screen::kRowBytes * link::Screen::kHeight, '\0');
    for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<char>((i * 37 + i / 30) & 0xFF);
    return bits;
}

std::vector<int> keysPressed(const ScratchDir& dir) {
    std::vector<int> keys;
    std::istringstream in(ScratchDir::read(dir.file("keys")));
    for (int k; in >> k;) keys.push_back(k);
    return keys;
}

// Whether `keys` type `call` key by key (one key per calculator code) then ENTER.
bool typesCall(const std::vector<int>& keys, const std::string& call) {
    std::vector<int> wanted(call.begin(), call.end());
    wanted.push_back(13);
    return std::search(keys.begin(), keys.end(), wanted.begin(), wanted.end()) != keys.end();
}

}  // namespace

class TestSendRun : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScratchDir> dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;

    QString status() const { return w->LblLiaison->text(); }

    void typeProgram(const char* body) {
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, body);
    }

private slots:
    void init() { QVERIFY(test::openOnVirtualCable(dir, prompt, w, {{"ScreenDelay", "1"}})); }
    void cleanup() { test::closeWithoutSaving(dir, w); }

    // F5 on a program with parameters: its arguments asked once, then it is sent, its
    // call typed on the calculator, and after the delay the screen shown, each step
    // in the status bar. A second F5 offers the arguments used last.
    void runsWithArgumentsAndShowsTheScreen() {
        ScratchDir calculatorDir;
        const std::string screenFile = calculatorDir.file("screen.bin");
        ScratchDir::write(screenFile, screenBytes());
        SimulatorProcess calculator(calculatorDir, {"--screen", screenFile});
        QVERIFY(calculator.ready());
        w->setNameField("hi(a,b)");
        typeProgram("Disp a+b");
        const std::string before = w->RichTxt1->text();
        QCOMPARE(w->envoyerExecuter->text(), QStringLiteral("Envoyer et ex\u00e9cuter"));

        ModalScript script;
        script.then<FrmArguments>([](FrmArguments& d) {
            QCOMPARE(d.LblArguments->text(), QStringLiteral("Arguments de main\\hi(a,b) :"));
            QCOMPARE(d.TxtArguments->text(), QString());
            QTest::keyClicks(d.TxtArguments, "1,2");
            QTest::mouseClick(d.CmdExecuter, Qt::LeftButton);
        });
        QTest::keyClick(w->RichTxt1, Qt::Key_F5);
        QVERIFY2(script.done(), script.pending().c_str());
        QStringList seen;
        QTRY_VERIFY_WITH_TIMEOUT(
            (seen.contains(status()) || (seen << status(), true)) &&
                status() == QStringLiteral("main\\hi(1,2) ex\u00e9cut\u00e9, \u00e9cran re\u00e7u."),
            20000);
        QVERIFY2(seen.filter(QStringLiteral("Ex\u00e9cution de main\\hi(1,2)")).size() == 1, qPrintable(seen.join('|')));
        QVERIFY2(seen.contains(QStringLiteral("main\\hi(1,2) ex\u00e9cut\u00e9.")), qPrintable(seen.join('|')));
        QVERIFY(prompt.shown.empty());
        FrmEcran& screen = w->frmEcran();
        QVERIFY(screen.isVisible());
        link::Screen expected;
        const std::string bits = screenBytes();
        expected.bits.assign(bits.begin(), bits.end());
        const QImage shown = screen.picture();
        QCOMPARE(shown.size(), QSize(160, 100));
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 160; ++x)
                QVERIFY2((shown.pixelIndex(x, y) == 1) == expected.dark(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        QCOMPARE(w->RichTxt1->text(), before);

        // F6 in the screen window takes it again.
        screen.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        QTest::keyClick(&screen, Qt::Key_F6);
        QTRY_VERIFY_WITH_TIMEOUT(status() == QStringLiteral("\u00c9cran de la calculatrice re\u00e7u."), 20000);

        // Again: the line offers "1,2"; Enter takes it.
        script.then<FrmArguments>([](FrmArguments& d) {
            QCOMPARE(d.TxtArguments->text(), QStringLiteral("1,2"));
            QTest::keyClick(d.TxtArguments, Qt::Key_Return);
        });
        w->activateWindow();
        QTest::keyClick(w->RichTxt1, Qt::Key_F5);
        QVERIFY2(script.done(), script.pending().c_str());
        QTRY_VERIFY_WITH_TIMEOUT(status() == QStringLiteral("main\\hi(1,2) ex\u00e9cut\u00e9, \u00e9cran re\u00e7u."), 20000);

        // The offscreen platform leaves the closed dialog as the active window.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        // Cancelled: nothing more is sent.
        script.then<FrmArguments>([](FrmArguments& d) { QTest::mouseClick(d.CmdAnnuler, Qt::LeftButton); });
        QTest::keyClick(w->RichTxt1, Qt::Key_F5);
        QVERIFY2(script.done(), script.pending().c_str());
        calculator.finish();
        QCOMPARE(calculator.received().size(), size_t(2));
        QCOMPARE(calculator.received()[0].qualifiedName, std::string("main\\hi"));
        const std::vector<int> keys = keysPressed(calculatorDir);
        QVERIFY(typesCall(keys, "main\\hi(1,2)"));
        QCOMPARE(Settings(dir->file("Korvane.INI")).lireIni("Arguments main\\hi"), std::string("1,2"));
    }

    // A program without parameters runs at once; with a delay of 0 no screen is
    // taken. Without a calculator: one message, and the Document is as it was.
    void noArgumentsNoScreenAndFailures() {
        Settings(dir->file("Korvane.INI")).ecrireIni("ScreenDelay", "0");
        w->setNameField("go()");
        typeProgram("Disp 1");
        const std::string before = w->RichTxt1->text();
        {
            ScratchDir calculatorDir;
            SimulatorProcess calculator(calculatorDir, {});
            QVERIFY(calculator.ready());
            QTest::keyClick(w->RichTxt1, Qt::Key_F5);
            QTRY_VERIFY_WITH_TIMEOUT(status() == QStringLiteral("main\\go() ex\u00e9cut\u00e9."), 20000);
            QTest::qWait(300);
            QCOMPARE(status(), QStringLiteral("main\\go() ex\u00e9cut\u00e9."));
            calculator.finish();
            QVERIFY(typesCall(keysPressed(calculatorDir), "main\\go()"));
        }
        QVERIFY(!w->frmEcran().isVisible());
        QVERIFY(prompt.shown.empty());

        QTest::keyClick(w->RichTxt1, Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(!prompt.shown.empty(), 20000);
        QTest::qWait(200);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompt.shown[0].text), status());
        QCOMPARE(w->RichTxt1->text(), before);
        QVERIFY(w->envoyerExecuter->isEnabled());

        // The calculator does not take the keys: one message.
        prompt.shown.clear();
        ScratchDir calculatorDir;
        SimulatorProcess deaf(calculatorDir, {"--deaf-keys"});
        QVERIFY(deaf.ready());
        QTest::keyClick(w->RichTxt1, Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(!prompt.shown.empty(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(w->envoyerExecuter->isEnabled(), 10000);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(w->RichTxt1->text(), before);
    }

    // The "Liaison" group: the screen's delay (2 s by default) and the LCD's colours
    // stored by "OK"; with the cable "TiEmu", where TiEmu's end stands.
    void theOptionsSetTheScreen() {
        // Nothing stored: the default delay.
        QFile::remove(QString::fromStdString(dir->file("Korvane.INI")));
        Settings(dir->file("Korvane.INI")).ecrireIni("Cable", "tiemu");
        ModalScript script;
        script.then<FrmOption>([](FrmOption& d) {
            LinkOptionsGroup& group = *d.FraLiaison;
            QCOMPARE(group.SpnDelaiEcran->value(), 2);
            QVERIFY(group.LblTiEmu->isVisible());
            QCOMPARE(group.LblTiEmu->text(),
                     QStringLiteral("Dans TiEmu, choisir le c\u00e2ble \u00ab TiEmu \u00bb sur le port 2 (Korvane est sur le port 1)."));
            group.CboPort->setFocus();
            QTest::keyClick(group.CboPort, Qt::Key_Down);
            QVERIFY(group.LblTiEmu->text().contains(QStringLiteral("port 1 (Korvane est sur le port 2)")));
            group.SpnDelaiEcran->setFocus();
            QTest::keyClick(group.SpnDelaiEcran, Qt::Key_Down);
            QTest::keyClick(group.SpnDelaiEcran, Qt::Key_Down);
            QTest::mouseClick(group.ChkCouleursLcd, Qt::LeftButton);
            group.CboCable->setFocus();
            QTest::keyClick(group.CboCable, Qt::Key_Home);
            QVERIFY(!group.LblTiEmu->isVisible());
            QTest::mouseClick(d.CmdAppliquer, Qt::LeftButton);
        });
        w->option_->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        const Settings stored(dir->file("Korvane.INI"));
        QCOMPARE(stored.lireIni("ScreenDelay"), std::string("0"));
        QCOMPARE(stored.lireIni("LcdColours"), std::string("Vrai"));
        QVERIFY(w->frmEcran().lcdColours());

        // A value outside 0 to 60 reads as the default.
        Settings(dir->file("Korvane.INI")).ecrireIni("ScreenDelay", "-3");
        QCOMPARE(LinkOptionsGroup::screenDelay(stored), LinkOptionsGroup::kDefaultScreenDelay);
        w->appliquerEn();
        script.then<FrmOption>([](FrmOption& d) {
            d.FraLiaison->CboCable->setCurrentIndex(d.FraLiaison->CboCable->findText(QStringLiteral("TiEmu")));
            QCOMPARE(d.FraLiaison->LblTiEmu->text(),
                     QStringLiteral("In TiEmu, choose the cable \"TiEmu\" on port 1 (Korvane is on port 2)."));
            QTest::mouseClick(d.CmdFermer, Qt::LeftButton);
        });
        w->option_->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
    }
};

QTEST_MAIN(TestSendRun)
#include "tst_sendrun.moc"
