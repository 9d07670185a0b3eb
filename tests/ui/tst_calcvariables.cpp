// The calculator's variables window against a simulated calculator on libticables'
// virtual cable: every variable by folder with its type in words, size and flags;
// a delete asked first and answered in the question's own loop; a variable received
// into a file of its own extension; files dropped on the window sent member by
// member; a program opened in the editor.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <set>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"
#include "files/ui/FrmSaveTok.h"
#include "files/ui/LinkTransfer.h"
#include "link/SimulatorProcess.h"
#include "link/ui/FrmVariables.h"
#include "shell/ui/FrmP.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"
#include "ui/support/ModalScript.h"
#include "ui/support/VirtualCableWindow.h"

using namespace korvane;
using test::ModalScript;
using test::ScratchDir;
using test::SimulatorProcess;

class TestCalcVariables : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScratchDir> dir;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;

    QTreeWidgetItem* row(FrmVariables& v, const QString& folder, const QString& name) {
        for (int f = 0; f < v.LstVariables->topLevelItemCount(); ++f) {
            QTreeWidgetItem* item = v.LstVariables->topLevelItem(f);
            if (item->text(0) != folder) continue;
            for (int c = 0; c < item->childCount(); ++c)
                if (item->child(c)->text(0) == name) return item->child(c);
        }
        return nullptr;
    }
    void clickRow(FrmVariables& v, QTreeWidgetItem* item) {
        v.LstVariables->scrollToItem(item);
        QTest::mouseClick(v.LstVariables->viewport(), Qt::LeftButton, {},
                          v.LstVariables->visualItemRect(item).center());
        QVERIFY(item->isSelected());
    }
    FrmVariables& openWindow() {
        w->variablesCalc->trigger();
        FrmVariables& v = w->frmVariables();
        return v;
    }

private slots:
    void init() { QVERIFY(test::openOnVirtualCable(dir, prompt, w)); }
    void cleanup() { test::closeWithoutSaving(dir, w); }

    // Every variable by folder, its type in words, size and flags; a delete asked
    // first ("Non" keeps it, "Oui" deletes it), then the listing without it; a
    // variable received into a file of its type's extension.
    void listsDeletesAndReceives() {
        ScratchDir calculatorDir;
        SimulatorProcess calculator(calculatorDir, {"--many", "12", "--flags", "f2\\v2=3", "--flags", "f3\\v3=2"});
        QVERIFY(calculator.ready());
        FrmVariables& v = openWindow();
        QVERIFY(v.isVisible());
        QCOMPARE(v.windowTitle(), QStringLiteral("Variables de la calculatrice"));
        QTRY_VERIFY_WITH_TIMEOUT(v.LblEtat->text() == QStringLiteral("12 variables"), 20000);
        QCOMPARE(v.LstVariables->topLevelItemCount(), 5);
        QCOMPARE(v.LstVariables->headerItem()->text(1), QStringLiteral("Type"));
        QTreeWidgetItem* program = row(v, "f0", "v0");
        QTreeWidgetItem* list = row(v, "f2", "v2");
        QTreeWidgetItem* matrix = row(v, "f3", "v3");
        QVERIFY(program && list && matrix);
        QCOMPARE(program->text(1), QStringLiteral("programme"));
        QCOMPARE(program->text(3), QString());
        QCOMPARE(row(v, "f1", "v1")->text(1), QStringLiteral("fonction"));
        QCOMPARE(list->text(1), QStringLiteral("liste"));
        QCOMPARE(list->text(3), QStringLiteral("verrouill\u00e9e, archiv\u00e9e"));
        QCOMPARE(matrix->text(1), QStringLiteral("matrice"));
        QCOMPARE(matrix->text(3), QStringLiteral("archiv\u00e9e"));
        QVERIFY(!v.CmdSupprimer->isEnabled());

        clickRow(v, row(v, "f4", "v4"));
        QVERIFY(v.CmdSupprimer->isEnabled());
        QVERIFY(!v.CmdOuvrir->isEnabled());
        QString asked;
        ModalScript script;
        auto answer = [&asked](const char* button) {
            return [&asked, button](QMessageBox& box) {
                asked = box.text();
                for (QAbstractButton* b : box.buttons())
                    if (b->text() == QLatin1String(button)) QTest::mouseClick(b, Qt::LeftButton);
            };
        };
        script.then<QMessageBox>(answer("Non"));
        QTest::mouseClick(v.CmdSupprimer, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(asked, QStringLiteral("Supprimer f4\\v4 de la calculatrice ?"));
        QVERIFY(!v.transfer->busy());
        script.then<QMessageBox>(answer("Oui"));
        QTest::mouseClick(v.CmdSupprimer, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QTRY_VERIFY_WITH_TIMEOUT(v.LblEtat->text() == QStringLiteral("11 variables"), 20000);
        QVERIFY(!row(v, "f4", "v4"));

        clickRow(v, row(v, "f2", "v2"));
        const QString path = QString::fromStdString(dir->file("v2.89l"));
        QString suggested;
        v.askReceivePath = [&](const QString& s) {
            suggested = s;
            return path;
        };
        QTest::mouseClick(v.CmdRecevoir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(v.LblEtat->text().startsWith(QStringLiteral("f2\\v2 re\u00e7ue dans")), 20000);
        QCOMPARE(suggested, QStringLiteral("v2.89l"));
        const VariableTable table = readVariableTable(ScratchDir::read(path.toStdString()));
        QVERIFY(table.ok());
        QCOMPARE(table.variables.size(), size_t(1));
        QCOMPARE(table.variables[0].name, std::string("v2"));
        QCOMPARE(int(table.variables[0].type), 0x04);
        QVERIFY(prompt.shown.empty());
        calculator.finish();
        QCOMPARE(ScratchDir::read(calculatorDir.file("deleted")), std::string("f4\\v4\n"));
    }

    // A group file dropped on the window: each member sent, then listed; a program
    // of the listing opens in the editor on a double click. A refused delete is one
    // message and the listing stays.
    void dropOpenAndRefusal() {
        if (!samples::available()) QSKIP(samples::missingMessage());
        ScratchDir calculatorDir;
        SimulatorProcess calculator(calculatorDir, {"--refuse-delete", "1"});
        QVERIFY(calculator.ready());
        FrmVariables& v = openWindow();
        QTRY_COMPARE_WITH_TIMEOUT(v.LblEtat->text(), QStringLiteral("0 variables"), 20000);

        const std::filesystem::path group = samples::folder() / "tilibs__ti89_group.89g";
        const VariableTable members = readVariableTable(samples::bytesOf(group));
        QVERIFY(members.ok() && members.variables.size() > 1);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(group.string()))});
        const QPoint at = v.LstVariables->viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(v.LstVariables->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(v.LstVariables->viewport(), &drop);
        const QString listed = QStringLiteral("%1 variables").arg(members.variables.size());
        QTRY_VERIFY_WITH_TIMEOUT(v.LblEtat->text() == listed, 30000);

        const TableEntry* first = members.programs().front();
        QTreeWidgetItem* program = row(v, EditorWidget::toDisplay(first->folder), EditorWidget::toDisplay(first->name));
        QVERIFY(program);
        clickRow(v, program);
        QVERIFY(v.CmdOuvrir->isEnabled());
        QTest::mouseDClick(v.LstVariables->viewport(), Qt::LeftButton, {}, v.LstVariables->visualItemRect(program).center());
        QTRY_VERIFY_WITH_TIMEOUT(w->nameField().rfind(first->name + "(", 0) == 0, 20000);

        ModalScript script;
        script.then<QMessageBox>([](QMessageBox& box) {
            for (QAbstractButton* b : box.buttons())
                if (b->text() == QLatin1String("Oui")) QTest::mouseClick(b, Qt::LeftButton);
        });
        clickRow(v, program);
        QTest::mouseClick(v.CmdSupprimer, Qt::LeftButton);
        QVERIFY2(script.done(), script.pending().c_str());
        QTRY_VERIFY_WITH_TIMEOUT(!prompt.shown.empty(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(v.CmdActualiser->isEnabled(), 20000);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompt.shown[0].text), v.LblEtat->text());
        QVERIFY(row(v, EditorWidget::toDisplay(first->folder), EditorWidget::toDisplay(first->name)));
        calculator.finish();
        QCOMPARE(calculator.received().size(), members.variables.size());
    }

    // "Sauvegarder la calculatrice..." writes every variable into one group file
    // that reads back member for member; "Restaurer..." sends its members, asking
    // before replacing one ("Non" skips it, "Tout remplacer" asks no more); a
    // backup cut midway leaves no file under the chosen name.
    void backsUpAndRestores() {
        const QString path = QString::fromStdString(dir->file("calc.89g"));
        ModalScript script;
        auto choose = [&script, path] {
            script.then<QFileDialog>([path](QFileDialog& d) {
                // Typed whole at once: the name box's completion list would take the Enter.
                auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                name->setText(path);
                QTest::keyClick(name, Qt::Key_Return);
            });
        };
        {
            ScratchDir calculatorDir;
            SimulatorProcess calculator(calculatorDir, {"--many", "6"});
            QVERIFY(calculator.ready());
            choose();
            w->sauvegarderCalc->trigger();
            QVERIFY2(script.done(), script.pending().c_str());
            QTRY_VERIFY_WITH_TIMEOUT(w->LblLiaison->text().startsWith(QStringLiteral("Calculatrice sauvegard\u00e9e dans ")),
                                     30000);
        }
        const VariableTable backup = readVariableTable(ScratchDir::read(path.toStdString()));
        QVERIFY(backup.ok());
        QCOMPARE(backup.variables.size(), size_t(6));
        std::set<std::string> names;
        for (const TableEntry& e : backup.variables) names.insert(e.folder + "\\" + e.name);
        QVERIFY((names == std::set<std::string>{"f0\\v0", "f1\\v1", "f2\\v2", "f3\\v3", "f4\\v4", "f0\\v5"}));
        auto question = [&](std::size_t i) {
            return EditorWidget::toDisplay(backup.variables[i].folder + "\\" + backup.variables[i].name) +
                   QStringLiteral(" existe d\u00e9j\u00e0 sur la calculatrice. Le remplacer ?");
        };

        ScratchDir calculatorDir;
        SimulatorProcess calculator(calculatorDir, {"--many", "6"});
        QVERIFY(calculator.ready());
        QStringList asked;
        auto answer = [&asked](const QString& button) {
            return [&asked, button](QMessageBox& box) {
                asked << box.text();
                for (QAbstractButton* b : box.buttons())
                    if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
            };
        };
        choose();
        script.then<QMessageBox>(answer(QStringLiteral("Non")));
        script.then<QMessageBox>(answer(QStringLiteral("Tout remplacer")));
        w->restaurerCalc->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(w->LblLiaison->text().startsWith(QStringLiteral("5 variables restaur\u00e9es")), 30000);
        QVERIFY2(script.done(), script.pending().c_str());
        QCOMPARE(asked, QStringList({question(0), question(1)}));
        calculator.finish();
        const auto received = calculator.received();
        QCOMPARE(received.size(), size_t(5));
        QCOMPARE(received.front().qualifiedName, backup.variables[1].folder + "\\" + backup.variables[1].name);
        QVERIFY(prompt.shown.empty());

        ScratchDir cutDir;
        SimulatorProcess cut(cutDir, {"--many", "6", "--cut"});
        QVERIFY(cut.ready());
        const QString cutPath = QString::fromStdString(dir->file("cut.89g"));
        script.then<QFileDialog>([cutPath](QFileDialog& d) {
            auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(cutPath);
            QTest::keyClick(name, Qt::Key_Return);
        });
        w->sauvegarderCalc->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!prompt.shown.empty(), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(w->sauvegarderCalc->isEnabled(), 20000);
        QVERIFY(!QFile::exists(cutPath));
    }
};

QTEST_MAIN(TestCalcVariables)
#include "tst_calcvariables.moc"
