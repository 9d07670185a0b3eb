// Printing a long program without a printer: the print goes to a PDF file that the
// user names, and its text, read back by pdftotext, is the program line for line.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <map>
#include <sstream>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmImprime.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

// The Unicode character of each calculator code, from the field's reference table.
std::map<int, QString> referenceCharacters() {
    std::map<int, QString> chars;
    std::ifstream tsv(KORVANE_SAMPLES_DIR "/../reference/ti89-charset.tsv");
    std::string line;
    std::getline(tsv, line);
    while (std::getline(tsv, line)) {
        std::istringstream fields(line);
        std::string code, hex, unicode, shown;
        std::getline(fields, code, '\t');
        std::getline(fields, hex, '\t');
        std::getline(fields, unicode, '\t');
        std::getline(fields, shown, '\t');
        chars[std::stoi(code)] = QString::fromUtf8(shown);
    }
    return chars;
}

// Answers the PDF path question inside its modal loop.
void answerPdfPath(const QString& path, bool& asked) {
    QTimer::singleShot(0, [path, &asked] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        asked = true;
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    void longProgramToPdf() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        const std::map<int, QString> reference = referenceCharacters();
        if (reference.empty()) QSKIP("the reference character table is not beside the checkout (../shared/reference)");

        ScriptedPrompt prompt;
        FrmP w(Settings((dir.path() + "/Korvane.INI").toStdString()), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        prompt.shown.clear();  // the first-run message
        // 300 body lines; each carries calculator symbols above 127 (θ π Σ ≤ ≠ √ ° ² ∫ ∞ α © ⁻¹).
        const int symbols[] = {136, 140, 142, 156, 157, 168, 176, 178, 189, 190, 128, 169, 180};
        std::string text = "\r\nPrgm";
        QStringList expected{QStringLiteral("Prgm")};
        for (int i = 1; i <= 300; ++i) {
            const int code = symbols[i % std::size(symbols)];
            const std::string line = "Disp " + std::to_string(i) + "," + std::string(1, static_cast<char>(code)) + "x";
            text += "\r\n" + line;
            // The inverse mark prints as it reads, ⁻¹, not as the table's one unit.
            const QString shown = code == 180 ? QStringLiteral("\u207B\u00B9") : reference.at(code);
            expected << QStringLiteral("Disp %1,%2x").arg(i).arg(shown);
        }
        text += "\r\nEndPrgm";
        expected << QStringLiteral("EndPrgm");
        w.RichTxt1->setPlainText(text);

        w.imprimer->trigger();
        FrmImprime* print = w.printWindow;
        QVERIFY(print);
        QVERIFY(print->isVisible());
        QVERIFY(!print->isModal());
        if (print->hasPrinter()) QSKIP("a printer is installed: this test prints only to PDF");
        QCOMPARE(print->CboTaille->currentText(), QStringLiteral("10"));
        QCOMPARE(print->CboImprimer->currentText(), QStringLiteral("Noir et Blanc"));

        const QString pdf = dir.path() + "/program.pdf";
        bool asked = false;
        answerPdfPath(pdf, asked);
        QTest::mouseClick(print->CmdImprimer, Qt::LeftButton);
        QVERIFY(asked);
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(prompt.shown.size(), size_t(1));
        QVERIFY(QString::fromStdString(prompt.shown[0].text).contains(pdf));
        // The dialog stays open for another print.
        QVERIFY(w.printWindow && print->isVisible());

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000));
        QCOMPARE(pdftotext.exitCode(), 0);
        const QString out = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY2(out.count(QLatin1Char('\f')) >= 3, "the print should run over several pages");
        QStringList lines;
        for (const QString& line : out.split(QLatin1Char('\n'))) {
            const QString kept = QString(line).remove(QLatin1Char('\f')).trimmed();
            if (!kept.isEmpty()) lines << kept;
        }
        QCOMPARE(lines.size(), expected.size());
        for (qsizetype i = 0; i < lines.size(); ++i) QCOMPARE(lines[i], expected[i]);

        // "Couleur" changes nothing in the print.
        print->CboImprimer->setCurrentIndex(1);
        const QString second = dir.path() + "/again.pdf";
        answerPdfPath(second, asked);
        QTest::mouseClick(print->CmdImprimer, Qt::LeftButton);
        QVERIFY(QFile::exists(second));
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), second, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(pdftotext.readAllStandardOutput()), out);
        w.close();
    }

    void unwritablePdfGivesAMessage() {
        ScriptedPrompt prompt;
        FrmP w(Settings((dir.path() + "/Other.INI").toStdString()), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        prompt.shown.clear();  // the first-run message
        w.imprimer->trigger();
        if (w.printWindow->hasPrinter()) QSKIP("a printer is installed: this test prints only to PDF");
        bool asked = false;
        answerPdfPath(dir.path() + "/no/such/folder/program.pdf", asked);
        QTest::mouseClick(w.printWindow->CmdImprimer, Qt::LeftButton);
        QVERIFY(asked);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(prompt.shown[0].icon, PromptIcon::Error);
        QVERIFY(QString::fromStdString(prompt.shown[0].text).startsWith(QStringLiteral("Impression impossible")));
        // Cancelled at the path question: nothing printed, nothing said.
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) dialog->reject();
        });
        QTest::mouseClick(w.printWindow->CmdImprimer, Qt::LeftButton);
        QCOMPARE(prompt.shown.size(), size_t(1));
        w.close();
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
