// The name and folder fields hold names the calculator takes: typed into the main
// window, a name that does not start with a letter is refused by the syntax check
// (F7) with the rule, in the interface's language, and neither form of save writes it.
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "ui/support/ModalScript.h"

using namespace korvane;
using test::ModalScript;

namespace {

const char* const kFrenchRule =
    "un nom commence par une lettre et ne contient que des lettres, des chiffres et _, 8 caract\u00e8res au plus";
const char* const kEnglishRule =
    "a name starts with a letter and holds only letters, digits and _, at most 8 characters";

}  // namespace

class TestNameField : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QTemporaryDir saved;  // where the save-as browser is pointed
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> w;

    // Replaces the field's text as a person does: click, select to the end, type.
    static void retype(QLineEdit* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClick(field, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClicks(field, text);
    }

    // Ctrl+S on the new Document, the save question answered in `form` (0 tokenized,
    // 1 normal) and the browser pointed at `saved` under `name`.
    void saveWithKeys(int form, const QString& name) {
        // The offscreen platform gives the window back no focus after a dialog closed.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        ModalScript script;
        script.then<FrmSaveTok>([form](FrmSaveTok& d) {
                  QTest::mouseClick(d.Option1[form], Qt::LeftButton);
                  QTest::mouseClick(d.CmdSave, Qt::LeftButton);
              })
            .then<FrmEnregistrer>([&](FrmEnregistrer& d) {
                QCOMPARE(d.Dir1->setPath(saved.path()), QString());
                d.TxtNom->clear();
                QTest::keyClicks(d.TxtNom, name);
                QTest::mouseClick(d.CmdSelectOK, Qt::LeftButton);
            });
        QTest::keyClick(w->RichTxt1, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(script.done(), script.pending().c_str());
    }

    QStringList savedFiles() const { return QDir(saved.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void init() {
        const std::string ini = (dir.path() + "/" + QTest::currentTestFunction() + ".INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        prompt.shown.clear();
        w = std::make_unique<FrmP>(Settings(ini), prompt);
        w->temporaryFolder = dir.path().toStdString();
        w->load("");
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() {
        ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w->close();
        w.reset();
    }

    void theCheckStatesTheRuleInTheInterfacesLanguage() {
        retype(w->TxtNomFichier, QStringLiteral("9abc(a,b)"));
        QCOMPARE(w->nameField(), std::string("9abc(a,b)"));
        QTest::keyClick(w->TxtNomFichier, Qt::Key_F7);
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompt.shown[0].text),
                 QStringLiteral("Ligne 1 : \"9abc\" n'est pas un nom de variable : ") + QString::fromUtf8(kFrenchRule));
        // Line 1 stands for the name field, which takes the keyboard.
        QVERIFY(w->TxtNomFichier->hasFocus());

        w->appliquerEn();
        QTest::keyClick(w->TxtNomFichier, Qt::Key_F7);
        QCOMPARE(prompt.shown.back().text,
                 std::string("Line 1: \"9abc\" is not a variable name: ") + kEnglishRule);

        // A letter first, and the check passes; a folder that starts with a digit does not.
        retype(w->TxtNomFichier, QStringLiteral("abc9(a,b)"));
        retype(w->TxtRep, QStringLiteral("1main"));
        QTest::keyClick(w->RichTxt1, Qt::Key_F7);
        // The folder is no line of the program: the message has no line number.
        QCOMPARE(prompt.shown.back().text, "\"1main\" is not a folder name: " + std::string(kEnglishRule));
        retype(w->TxtRep, QStringLiteral("main"));
        QTest::keyClick(w->RichTxt1, Qt::Key_F7);
        QCOMPARE(prompt.shown.back().text, std::string("The program is valid for the calculator."));
    }

    void neitherFormOfSaveWritesARefusedName() {
        retype(w->TxtNomFichier, QStringLiteral("9abc(a,b)"));
        for (const int form : {0, 1}) {
            const size_t before = prompt.shown.size();
            saveWithKeys(form, QStringLiteral("refused"));
            QCOMPARE(prompt.shown.size(), before + 1);
            const std::string& text = prompt.shown.back().text;
            QVERIFY2(text.rfind("Impossible d'enregistrer le fichier\n" + saved.path().toStdString() + "/refused.89p\n",
                                0) == 0,
                     text.c_str());
            QVERIFY2(text.find(std::string("\"9abc\" n'est pas un nom de variable : ") + kFrenchRule) != std::string::npos,
                     text.c_str());
            QVERIFY(savedFiles().isEmpty());
            QVERIFY(w->document.path.empty());
            QVERIFY(!w->enregistrer->isEnabled());
        }

        // Once the name starts with a letter, the same save writes the file.
        retype(w->TxtNomFichier, QStringLiteral("abc9(a,b)"));
        saveWithKeys(1, QStringLiteral("taken"));
        QCOMPARE(savedFiles(), QStringList{QStringLiteral("taken.89p")});
        QCOMPARE(w->document.path, saved.path().toStdString() + "/taken.89p");
    }
};

QTEST_MAIN(TestNameField)
#include "tst_namefield.moc"
