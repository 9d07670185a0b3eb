// The interface in French and English: every text of the nine windows after a
// switch, for windows already open and for windows opened after it.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "editor/CharTable.h"
#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmImprime.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/Languages.h"
#include "shell/ui/FrmAbout1.h"
#include "shell/ui/FrmOption.h"
#include "insert/ToolStrip.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

struct Expected {
    const char* window;
    const char* control;  // empty for the window title
    int index;
    const char* french;
    const char* english;
};

// The 54 texts, in the order both procedures assign them.
const Expected kTexts[] = {
    {"FrmP", "LblRep", 0, "Répertoire :", "Folder :"},
    {"FrmP", "Label6", 0, "Taille :", "Size :"},
    {"FrmP", "ChkChar", 0, "Caractères Spéciaux\x14", "Special characters\x14"},
    {"FrmP", "cmdColor", 0, "Actualiser la colorisation", "Colors actualization"},
    {"FrmP", "fichier", 0, "Fichier", "File"},
    {"FrmP", "nouveau", 0, "Nouveau", "New"},
    {"FrmP", "ouvrir", 0, "Ouvrir", "Open"},
    {"FrmP", "enregistrer", 0, "Enregistrer", "Save"},
    {"FrmP", "enregistrerSous", 0, "Enregistrer sous", "Save as..."},
    {"FrmP", "imprimer", 0, "Imprimer", "Print"},
    {"FrmP", "quitter", 0, "Quitter", "Exit"},
    {"FrmP", "edition", 0, "Edition", "Edit"},
    {"FrmP", "copier", 0, "Copier", "Copy"},
    {"FrmP", "couper", 0, "Couper", "Cut"},
    {"FrmP", "coller", 0, "Coller", "Paste"},
    {"FrmP", "selectall", 0, "Tout sélectionner", "Select all"},
    {"FrmP", "rechercher", 0, "Rechercher", "Find"},
    {"FrmP", "control", 0, "Contrôle", "Control"},
    {"FrmP", "aide", 0, "Aide", "Help"},
    {"FrmP", "about", 0, "A propos", "About"},
    {"FrmOption", "LblLangage", 0, "Langue :", "Language :"},
    {"FrmOption", "LblParam", 0, "Paramètre par défault lors d'un nouveau projet :", "Default parameter for new project :"},
    {"FrmOption", "Opt1", 0, "Programme", "Program"},
    {"FrmOption", "Opt1", 1, "Fonction", "Function"},
    {"FrmOption", "Check1", 0, "Afficher le choix avant d'ouvrir un nouveau projet.",
     "Show the choice before opening a new project."},
    {"FrmOption", "CmdFermer", 0, "Fermer", "Exit"},
    {"FrmSaveTok", "Option1", 0, "Tokénisé", "Tokenized"},
    {"FrmSaveTok", "Option1", 1, "Normal (non tokénisé)", "Normal (no  tokenized)"},
    {"FrmSaveTok", "Label1", 0, "Enregistrer ?", "Save ?"},
    {"FrmSaveTok", "CmdSave", 0, "Oui", "Yes"},
    {"FrmSaveTok", "CmdStop", 0, "Non", "No"},
    {"FrmParcourir", "", 0, "Parcourir", "Open"},
    {"FrmParcourir", "CmdSelectOK", 0, "Ouvrir", "Open"},
    {"FrmParcourir", "CmdQuitter", 0, "Quitter", "Exit"},
    {"FrmEnregistrer", "", 0, "Enregistrer", "Save"},
    {"FrmEnregistrer", "Label1", 0, "Nom du fichier :", "Filename :"},
    {"FrmEnregistrer", "CmdSelectOK", 0, "Enregistrer", "Save"},
    {"FrmEnregistrer", "CmdQuitter", 0, "Annuler", "Cancel"},
    {"FrmChxPrgmFunc", "", 0, "Prgm ou Fonction ?", "Prgm or Function ?"},
    {"FrmChxPrgmFunc", "Label1", 0, "Vous désirez commencer un nouveau Programme ou une nouvelle Fonction ?",
     "You wish to begin a new Program or a new Function? "},
    {"FrmChxPrgmFunc", "Opt1", 0, "Programme", "Program"},
    {"FrmChxPrgmFunc", "Opt1", 1, "Fonction", "Function"},
    {"FrmChxPrgmFunc", "Check1", 0, "Ne plus afficher.", "Not to show more."},
    {"FrmChar", "", 0, "Caractères Spéciaux", "Special characters"},
    {"FrmAbout1", "", 0, "A propos de Korvane", "About of Korvane"},
    {"FrmAbout1", "lblDescription", 0, "Editeur de programme ti89 en tibasic pour PC.",
     "Editor of program ti89 in tibasic for PC."},
    {"FrmAbout1", "LblAuteur", 0, nullptr, nullptr},
    {"FrmAbout1", "Label1", 0, nullptr, nullptr},
    {"FrmAbout1", "lblDisclaimer", 0, nullptr, nullptr},
    {"FrmImprime", "", 0, "Imprimer", "Print"},
    {"FrmImprime", "LblImprimer", 0, "Imprimante :", "Printer :"},
    {"FrmImprime", "LblTaille", 0, "Taille du texte :", "Size of text :"},
    {"FrmImprime", "CmdImprimer", 0, "Imprimer", "Print"},
    {"FrmImprime", "CmdAnnuler", 0, "Annuler", "Cancel"},
};

// A text as the window shows it; a control code stands for a calculator code.
QString shown(const char* utf8) {
    QString text = QString::fromUtf8(utf8);
    for (QChar& c : text)
        if (c.unicode() < 0x20) c = QChar(unitOfCode(static_cast<unsigned char>(c.unicode())));
    return text;
}

QString utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The text of a control found by its name, or null when the window lacks it.
QString textOn(QWidget& window, const char* control, int index) {
    if (!*control) return window.windowTitle();
    const QList<QObject*> all = window.findChildren<QObject*>(QString::fromLatin1(control));
    if (index >= all.size()) return QString();
    QObject* o = all[index];
    // A menu's title carries the mark of its Alt key.
    if (auto* m = qobject_cast<QMenu*>(o)) return QString(m->title()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (auto* a = qobject_cast<QAction*>(o)) return a->text();
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
    return QStringLiteral("<unreadable>");
}

}  // namespace

class TestLanguages : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    std::string ini() const { return (dir.path() + "/Korvane.INI").toStdString(); }

    // Compares every row with what `windows` show in `langue`; a window not built
    // here is compared through the table.
    void compareAll(const std::map<std::string, QWidget*>& windows, bool english) {
        int compared = 0;
        for (const Expected& row : kTexts) {
            const std::string langue = english ? "En" : "Fr";
            const std::string tableText = languageText(row.window, row.control, row.index, langue);
            const char* want = english ? row.english : row.french;
            const auto found = windows.find(row.window);
            QString actual = found != windows.end() ? textOn(*found->second, row.control, row.index) : QString();
            if (actual.isNull()) actual = shown(tableText.c_str());
            const QString where = QStringLiteral("%1.%2(%3)").arg(row.window, row.control).arg(row.index);
            if (want) QVERIFY2(actual == shown(want), qPrintable(where + ": " + actual));
            else QVERIFY2(!actual.trimmed().isEmpty(), qPrintable(where + " is empty"));
            ++compared;
        }
        QCOMPARE(compared, 54);
    }

private slots:
    void englishThenFrench() {
        ScriptedPrompt prompt;
        FrmP w(Settings(ini()), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        // The built-in texts are the French ones.
        QCOMPARE(w.LblRep->text(), QStringLiteral("Répertoire :"));

        // Open before the switch: the save question and the print dialog.
        w.frmSaveTok().show();
        w.imprimer->trigger();
        QVERIFY(w.printWindow);

        w.appliquerEn();
        QCOMPARE(w.Langue, std::string("En"));
        // Opened after it.
        w.frmParcourir().show();
        w.frmEnregistrer().show();
        bool prgmFunc = true, ask = true;
        FrmChxPrgmFunc kind(prgmFunc, ask, &w);
        kind.show();
        FrmOption options(w);
        FrmAbout1 about(w.Langue, &w);
        std::map<std::string, QWidget*> windows{{"FrmP", &w},
                                                {"FrmSaveTok", &w.frmSaveTok()},
                                                {"FrmParcourir", &w.frmParcourir()},
                                                {"FrmEnregistrer", &w.frmEnregistrer()},
                                                {"FrmChxPrgmFunc", &kind},
                                                {"FrmOption", &options},
                                                {"FrmAbout1", &about},
                                                {"FrmImprime", w.printWindow.data()},
                                                {"FrmChar", &w.frmChar()}};
        compareAll(windows, true);
        QCOMPARE(options.CboLangage->currentText(), QStringLiteral("Anglais"));

        w.appliquerFr();
        compareAll(windows, false);
        // Closed and opened again: the print dialog comes back in French.
        w.printWindow->close();
        QTRY_VERIFY(!w.printWindow);
        w.appliquerEn();
        w.imprimer->trigger();
        QCOMPARE(w.printWindow->windowTitle(), QStringLiteral("Print"));
        QCOMPARE(w.printWindow->CmdAnnuler->text(), QStringLiteral("Cancel"));
        // Left in one language whatever the interface.
        QCOMPARE(w.option_->text(), QStringLiteral("Option"));
        QCOMPARE(w.printWindow->LblImpression->text(), QStringLiteral("Impression :"));
        QCOMPARE(w.annuler->text(), QStringLiteral("Undo"));
        // A palette closed and opened again takes the language of the moment.
        QTest::mouseClick(w.ChkChar, Qt::LeftButton);
        QVERIFY(!w.ChkChar->isChecked());
        QTest::mouseClick(w.ChkChar, Qt::LeftButton);
        QCOMPARE(w.frmChar().windowTitle(), QStringLiteral("Special characters"));
        QCOMPARE(w.ChkChar->text(), QStringLiteral("Special characters") + QChar(unitOfCode(20)));
        w.appliquerFr();
        QCOMPARE(w.frmChar().windowTitle(), QStringLiteral("Caractères Spéciaux"));
        QCOMPARE(w.annuler->text(), QStringLiteral("Annuler"));
        QCOMPARE(w.retablir->text(), QStringLiteral("Rétablir"));
        w.close();
    }

    // The messages of the core and the tooltips that say more than a name follow the
    // language too, from start-up on.
    void messagesAndTooltipsFollowTheLanguage() {
        const std::string ini = (dir.path() + "/messages.INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        Settings(ini).ecrireIni("Langue", "En");
        ScriptedPrompt prompt;
        FrmP w(Settings(ini), prompt);
        w.runModal = test::declineSaveQuestion;
        // Started in English on a file that is not a calculator's.
        w.load("notes.txt");
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(!prompt.shown.empty());
        QCOMPARE(prompt.shown.back().text, std::string("The file is not a TI-89 file"));

        // The Edit menu's check (F7) of a program whose fourth line stops short.
        w.RichTxt1->setPlainText("\r\nPrgm\r\nDisp 1\r\nDisp 3+\r\nEndPrgm");
        w.RichTxt1->setCaret(8);
        QTest::keyClick(w.RichTxt1, Qt::Key_F7);
        QCOMPARE(prompt.shown.back().text, std::string("Line 4: expected an expression, found the end of the statement"));
        QCOMPARE(w.CmdGreek->toolTip(), QStringLiteral("Configurable button: right-click a Greek character to change this button"));
        QCOMPARE(w.ChkChar->toolTip(), QStringLiteral("Open and close the special characters"));
        QCOMPARE(w.CboTaille->toolTip(), QStringLiteral("Change the text size"));

        w.appliquerFr();
        QTest::keyClick(w.RichTxt1, Qt::Key_F7);
        QCOMPARE(QString::fromStdString(prompt.shown.back().text),
                 QStringLiteral("Ligne 4 : une expression est attendue ici, pas la fin de l'instruction"));
        // In French the tooltips are the tool strip's own.
        QCOMPARE(w.CmdGreek->toolTip(), utf8(quickButtons()[0].tip));
        QCOMPARE(w.CmdCatalog->toolTip(), utf8(quickButtons()[4].tip));
        QCOMPARE(w.ChkCat->toolTip(), utf8(kChkCatTip));
        QCOMPARE(w.ChkChar->toolTip(), utf8(kChkCharTip));
        QCOMPARE(w.CboTaille->toolTip(), QStringLiteral("Changer la taille du texte"));
        w.close();
    }
};

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
