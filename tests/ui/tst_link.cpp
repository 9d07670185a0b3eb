// Sending to the calculator and receiving from it, from the File menu, against a
// simulated calculator on libticables' virtual cable: what arrives, what the window
// shows meanwhile, and a Document that no failure changes.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "files/FileFlows.h"
#include "files/VariableTable.h"
#include "files/ui/FrmChoixVariable.h"
#include "files/ui/FrmSaveTok.h"
#include "files/ui/LinkTransfer.h"
#include "link/SimulatorProcess.h"
#include "shell/ui/FrmOption.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/LinkOptionsGroup.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"
#include "ui/support/ModalScript.h"
#include "ui/support/VirtualCableWindow.h"

using namespace korvane;
using test::ModalScript;
using test::ScratchDir;
using test::SimulatorProcess;

class TestLink : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScratchDir> dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;

    // Chooses a File menu item with the mouse, as a person does.
    void chooseFromFileMenu(QAction* item) {
        QMenuBar* bar = w->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(w->fichier->menuAction()).center());
        QTRY_VERIFY(w->fichier->isVisible());
        QTest::mouseClick(w->fichier, Qt::LeftButton, {}, w->fichier->actionGeometry(item).center());
        QTRY_VERIFY(!w->fichier->isVisible());
        // The offscreen platform leaves the closed menu as the active window.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    void typeProgram(const char* body) {
        w->RichTxt1->setFocus();
        w->RichTxt1->setCaret(8);
        QTest::keyClicks(w->RichTxt1, body);
    }

    QString status() const { return w->LblLiaison->text(); }

private slots:
    void init() { QVERIFY(test::openOnVirtualCable(dir, prompt, w)); }
    void cleanup() { test::closeWithoutSaving(dir, w); }

    // Ctrl+T sends the program as a tokenized save would write it, named as its fields say.
    void sendsTheDocumentTokenized() {
        ScratchDir calculatorDir;
        SimulatorProcess calculator(calculatorDir, {});
        QVERIFY(calculator.ready());
        w->setNameField("hello(a)");
        w->setFolderField("work");
        typeProgram("Disp a");
        QCOMPARE(w->envoyer->text(), QStringLiteral("Envoyer \u00e0 la calculatrice"));
        QTest::keyClick(w->RichTxt1, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(w->CmdStopLink->isVisible() || status().contains(QStringLiteral("envoy\u00e9")));
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(QStringLiteral("work\\hello envoy\u00e9 : ")), 10000);
        QCOMPARE(w->LblLiaison->accessibleName(), status());
        QVERIFY(!w->CmdStopLink->isVisible());
        QVERIFY(w->envoyer->isEnabled());
        QVERIFY(prompt.shown.empty());
        calculator.finish();

        const auto received = calculator.received();
        QCOMPARE(received.size(), size_t(1));
        QCOMPARE(received[0].qualifiedName, std::string("work\\hello"));
        QCOMPARE(received[0].type, int(kProgramTypeId));
        const BuildResult text = buildVariableFile({"hello(a)", "work", w->RichTxt1->text(), newDocumentHeader(),
                                                    programTrailer()});
        const BuildResult tokenized = tokenizeVariableFile(text.bytes, false);
        QVERIFY(tokenized.ok());
        const VariableTable table = readVariableTable(tokenized.bytes);
        QVERIFY(table.ok());
        const Bytes& data = table.variables.front().data;
        QCOMPARE(received[0].payload.substr(2), data);
        QCOMPARE(isTextForm(received[0].payload.substr(2)), false);
    }

    // A program the calculator would refuse is not sent: the check's message and line.
    // Without a calculator, or when it refuses, a message; the Document stays as it was.
    void failuresSayWhyAndChangeNothing() {
        typeProgram("For i,1");
        QTest::keyClick(w->RichTxt1, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QVERIFY2(prompt.shown[0].text.rfind("Ligne 3 : ", 0) == 0, prompt.shown[0].text.c_str());
        QVERIFY(status().isEmpty());

        w->RichTxt1->setPlainText(std::string("\r\nPrgm\r\nDisp 1\r\nEndPrgm"));
        const std::string text = w->RichTxt1->text();
        test::dropStaleVirtualCable();
        chooseFromFileMenu(w->envoyer);
        QTRY_COMPARE_WITH_TIMEOUT(prompt.shown.size(), size_t(2), 10000);
        QCOMPARE(prompt.shown[1].icon, PromptIcon::Error);
        QCOMPARE(status().toStdString(), prompt.shown[1].text);
        QCOMPARE(w->RichTxt1->text(), text);

        ScratchDir calculatorDir;
        SimulatorProcess refusing(calculatorDir, {"--refuse", "0x1E"});
        QVERIFY(refusing.ready());
        QTest::keyClick(w->RichTxt1, Qt::Key_T, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(prompt.shown.size(), size_t(3), 10000);
        QVERIFY(prompt.shown[2].text != prompt.shown[1].text);
        QCOMPARE(w->RichTxt1->text(), text);
        refusing.finish();
        QVERIFY(refusing.received().empty());
    }

    // "Annuler" in the status bar stops a transfer that waits on a silent calculator;
    // the window answers meanwhile, and a cancel is no error.
    void theStatusBarsCancelStopsATransfer() {
        ScratchDir calculatorDir;
        SimulatorProcess silent(calculatorDir, {"--mute"});
        QVERIFY(silent.ready());
        typeProgram("Disp 1");
        QTest::keyClick(w->RichTxt1, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(w->CmdStopLink->isVisible());
        QVERIFY(!w->envoyer->isEnabled());
        QCOMPARE(w->PrgsBar->maximum(), 1000);
        // Typing goes on during the transfer.
        QTest::keyClicks(w->RichTxt1, "2");
        QVERIFY(w->RichTxt1->text().find("Disp 12") != std::string::npos);
        QTest::mouseClick(w->CmdStopLink, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Transfert annul\u00e9."), 10000);
        QVERIFY(!w->CmdStopLink->isVisible());
        QVERIFY(w->envoyer->isEnabled());
        QVERIFY(prompt.shown.empty());
        silent.finish();
        QVERIFY(silent.received().empty());
    }

    // While the program goes, the status bar says which and how far, in full beside
    // the help's labels, with the progress bar in sight; once sent, its size and the
    // time taken, as each language writes numbers.
    void aSendSaysWhatItDoesAndHowItEnded() {
        if (!samples::available()) QSKIP(samples::missingMessage());
        const std::string sample = (samples::folder() / "sseng__sgsgeo.89p").string();
        w->openRoutine(true, sample);
        QCOMPARE(w->document.path, sample);
        for (const bool english : {false, true}) {
            if (english) w->appliquerEn();
            ScratchDir calculatorDir;
            SimulatorProcess calculator(calculatorDir, {});
            QVERIFY(calculator.ready());
            QStringList seen;
            QList<QRect> bars;
            // Each text in full: the link's label is as wide as it.
            const auto whole = [this] {
                return w->LblLiaison->isVisible() &&
                       w->LblLiaison->contentsRect().width() >= w->LblLiaison->fontMetrics().horizontalAdvance(status());
            };
            int cut = 0;
            const auto probe = connect(w->linkTransfer, &LinkTransfer::progress, w.get(), [&] {
                seen << status();
                QApplication::processEvents();
                cut += !whole();
                const QRect bar(w->PrgsBar->mapTo(w.get(), QPoint(0, 0)), w->PrgsBar->size());
                bars << (w->PrgsBar->isVisible() ? bar.intersected(w->rect()).intersected(
                                                       QRect(0, 0, w->width(), w->statusBar()->y()))
                                                 : QRect());
            });
            QTest::keyClick(w->RichTxt1, Qt::Key_T, Qt::ControlModifier);
            QTRY_VERIFY_WITH_TIMEOUT(!w->CmdStopLink->isVisible(), 10000);
            disconnect(probe);
            calculator.finish();
            QCOMPARE(calculator.received().size(), size_t(1));
            const std::size_t bytes = calculator.received()[0].payload.size();
            QVERIFY(bytes > 1000);

            const QRegularExpression going(QString::fromUtf8(english ? R"(^Sending sgs\\sgsgeo\.\.\. (\d+)%$)"
                                                                     : R"(^Envoi de sgs\\sgsgeo\.\.\. (\d+) %$)"));
            int between = 0;
            for (const QString& line : seen) {
                const QRegularExpressionMatch m = going.match(line);
                QVERIFY2(m.hasMatch(), qPrintable(line));
                between += m.captured(1).toInt() > 0 && m.captured(1).toInt() < 100;
            }
            QVERIFY2(between >= 3, qPrintable(seen.join(QLatin1Char('|'))));
            QCOMPARE(cut, 0);
            // The progress bar is seen whole, above the status bar, at its own width.
            for (const QRect& bar : bars) {
                QCOMPARE(bar.size(), w->PrgsBar->size());
                QVERIFY(bar.width() >= 100);
            }

            const QString count = QString::fromStdString(
                link::groupedCount(bytes, english ? link::Language::English : link::Language::French));
            const QString done = QString::fromUtf8(english ? R"(^sgs\\sgsgeo sent: %1 bytes in \d+\.\d s$)"
                                                           : R"(^sgs\\sgsgeo envoyé : %1 octets en \d+,\d s$)")
                                     .arg(count);
            QVERIFY2(QRegularExpression(done).match(status()).hasMatch(), qPrintable(status()));
            // It stays there, whole, while the user goes on.
            QTest::keyClicks(w->RichTxt1, "a");
            QVERIFY2(QRegularExpression(done).match(status()).hasMatch(), qPrintable(status()));
            QTRY_VERIFY(whole());
            QVERIFY(prompt.shown.empty());
        }
    }

    // Sends, each followed by a cancel with the status bar's button or a time-out
    // while the calculator answers late: each send after them works at once, and
    // the window holds no more descriptors or threads than before the first.
    void cancelsAndTimeOutsLeaveNothingOpenAndTheNextSendWorks() {
        if (!samples::available()) QSKIP(samples::missingMessage());
        w->openRoutine(true, (samples::folder() / "sseng__sgsgeo.89p").string());
        ScratchDir calculatorDir;
        SimulatorProcess calculator(calculatorDir, {});
        QVERIFY(calculator.ready());
        const auto entries = [](const char* folder) {
            return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
        };
        const auto descriptors = entries("/proc/self/fd");
        const auto threads = entries("/proc/self/task");

        enum class Step { Send, Cancel, TimeOut };
        int sent = 0;
        for (const Step step : {Step::Send, Step::Cancel, Step::Send, Step::TimeOut, Step::Send, Step::Cancel,
                                Step::Send, Step::TimeOut, Step::Send}) {
            // The calculator takes the data, then answers 1.5 s late (a cancel
            // comes meanwhile) or 8 s late, long after the link's 2 s even when
            // this process gets little of the processor (the library's timeouts
            // count processor time); the next transfer's first packet ends that wait.
            if (step != Step::Send) QVERIFY(calculator.stallNext(step == Step::Cancel ? 1500 : 8000));
            QTest::keyClick(w->RichTxt1, Qt::Key_T, Qt::ControlModifier);
            if (step == Step::Cancel) {
                QTRY_VERIFY2_WITH_TIMEOUT(status().endsWith(QStringLiteral("99 %")), qPrintable(status()), 10000);
                QTest::mouseClick(w->CmdStopLink, Qt::LeftButton);
            }
            QTRY_VERIFY_WITH_TIMEOUT(!w->CmdStopLink->isVisible(), 15000);
            switch (step) {
            case Step::Send:
                QVERIFY2(status().startsWith(QStringLiteral("sgs\\sgsgeo envoy\u00e9 : ")), qPrintable(status()));
                QVERIFY2(prompt.shown.empty(), prompt.shown.empty() ? "" : prompt.shown.front().text.c_str());
                ++sent;
                break;
            case Step::Cancel:
                QCOMPARE(status(), QStringLiteral("Transfert annul\u00e9."));
                QVERIFY(prompt.shown.empty());
                break;
            case Step::TimeOut:
                QCOMPARE(prompt.shown.size(), size_t(1));
                QVERIFY2(status().contains(QStringLiteral("coup\u00e9")), qPrintable(status()));
                prompt.shown.clear();
                break;
            }
        }
        QCOMPARE(entries("/proc/self/fd"), descriptors);
        QCOMPARE(entries("/proc/self/task"), threads);
        QCOMPARE(calculator.finish(), 0);
        QVERIFY(calculator.received().size() >= size_t(sent));
    }

    // Receiving lists the calculator's programs; the chosen one becomes the Document,
    // after the save question, without a file of its own.
    void receivesAChosenProgramAsANewDocument() {
        if (!samples::available()) QSKIP(samples::missingMessage());
        const std::string sample = (samples::folder() / "dapperfu__me575.woinv.89f").string();
        if (!std::filesystem::exists(sample)) QSKIP("the function sample is absent");
        ScratchDir calculatorDir;
        SimulatorProcess calculator(calculatorDir, {"--hold", sample});
        QVERIFY(calculator.ready());
        typeProgram("Disp 9");
        const std::string typed = w->RichTxt1->text();

        // "Annuler" at the save question: nothing received, the typed program stays.
        ModalScript script;
        script.then<FrmChoixVariable>([](FrmChoixVariable& d) {
                  QCOMPARE(d.CmdOuvrir->text(), QStringLiteral("Recevoir"));
                  QCOMPARE(d.LstVariables->count(), 1);
                  QVERIFY(d.LstVariables->item(0)->text().contains(QStringLiteral("fonction")));
                  QTest::mouseClick(d.CmdOuvrir, Qt::LeftButton);
              })
            .then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdAnnuler, Qt::LeftButton); });
        chooseFromFileMenu(w->recevoir);
        QTRY_VERIFY_WITH_TIMEOUT(script.done(), 10000);
        QCOMPARE(w->RichTxt1->text(), typed);

        script.then<FrmChoixVariable>([](FrmChoixVariable& d) {
                  const QPoint row = d.LstVariables->visualItemRect(d.LstVariables->item(0)).center();
                  // A double click is a click, then a press that the system reports as double.
                  QTest::mouseClick(d.LstVariables->viewport(), Qt::LeftButton, {}, row);
                  QTest::mouseDClick(d.LstVariables->viewport(), Qt::LeftButton, {}, row);
              })
            .then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        chooseFromFileMenu(w->recevoir);

        QTRY_VERIFY_WITH_TIMEOUT(script.done(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!w->CmdStopLink->isVisible() && !status().startsWith(QStringLiteral("R\u00e9ception")),
                                 10000);
        // Its name, its size as the calculator counts it and the time taken.
        const QString received = QString::fromUtf8(R"(^me575\\woinv reçu : %1 octets en \d+,\d s$)")
                                     .arg(QString::fromStdString(link::groupedCount(
                                         readVariableTable(samples::bytesOf(sample)).variables.front().data.size() + 2,
                                         link::Language::French)));
        QVERIFY2(QRegularExpression(received).match(status()).hasMatch(), qPrintable(status()));
        QVERIFY2(prompt.shown.empty(), prompt.shown.empty() ? "" : prompt.shown[0].text.c_str());

        // What the editor shows is what opening the sample shows.
        const OpenedFile expected = readProgram(samples::bytesOf(sample), {});
        QVERIFY(expected.ok());
        QCOMPARE(w->nameField(), nameFieldOf(expected.content));
        QCOMPARE(w->folderField(), expected.content.folder);
        QVERIFY(w->document.path.empty());
        QVERIFY(!w->enregistrer->isEnabled());
        QVERIFY(w->RichTxt1->text().find("Func") != std::string::npos);
    }

    // The options dialog's group shows the stored link and "OK" stores what is chosen.
    void theOptionsDialogChoosesCalculatorCableAndPort() {
        ModalScript script;
        script.then<FrmOption>([](FrmOption& d) {
            LinkOptionsGroup& group = *d.FraLiaison;
            QCOMPARE(group.title(), QStringLiteral("Liaison"));
            QCOMPARE(group.CboCalc->currentText(), QStringLiteral("TI-89"));
            QCOMPARE(group.CboCable->currentText(), QStringLiteral("TiEmu"));
            QCOMPARE(group.CboPort->currentText(), QStringLiteral("1"));
            group.CboCalc->setFocus();
            QTest::keyClick(group.CboCalc, Qt::Key_End);
            QTest::keyClick(&d, Qt::Key_Tab);
            QTest::keyClick(&d, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), group.CboPort);
            QTest::keyClick(group.CboPort, Qt::Key_Down);
            QTest::mouseClick(d.CmdAppliquer, Qt::LeftButton);
        });
        w->option_->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        const Settings stored(dir->file("Korvane.INI"));
        QCOMPARE(stored.lireIni("Calc"), std::string("v200"));
        QCOMPARE(stored.lireIni("Cable"), std::string("tiemu"));
        QCOMPARE(stored.lireIni("Port"), std::string("2"));

        // "Fermer" keeps the stored link; the group speaks the interface's language.
        w->appliquerEn();
        script.then<FrmOption>([](FrmOption& d) {
            QCOMPARE(d.FraLiaison->title(), QStringLiteral("Link"));
            QCOMPARE(d.FraLiaison->CboCalc->currentText(), QStringLiteral("Voyage 200"));
            d.FraLiaison->CboPort->setCurrentIndex(3);
            QTest::mouseClick(d.CmdFermer, Qt::LeftButton);
        });
        w->option_->trigger();
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(stored.lireIni("Port"), std::string("2"));
    }
};

QTEST_MAIN(TestLink)
#include "tst_link.moc"
