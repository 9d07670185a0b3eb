// What a screen reader finds: every control a user can reach in the main window,
// its tool windows and its browsers has a name, in French and in English.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

// A control a person reaches with the keyboard or clicks with the mouse.
bool reachable(const QWidget& w) {
    if (!w.isVisible() || !w.isEnabled()) return false;
    return w.focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(&w) ||
           qobject_cast<const QAbstractItemView*>(&w) || qobject_cast<const QComboBox*>(&w);
}

// Walks the accessibility tree from `root` and returns the reachable controls
// without a name, and the names found, by object name.
void walk(QAccessibleInterface* node, QStringList& unnamed, QMap<QString, QString>& names, int depth = 0) {
    if (!node || depth > 30) return;
    if (auto* w = qobject_cast<QWidget*>(node->object()); w && !w->isWindow() && reachable(*w)) {
        const QString name = node->text(QAccessible::Name).trimmed();
        const QString id = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        if (name.isEmpty()) unnamed << id;
        else names.insert(id, name);
    }
    for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), unnamed, names, depth + 1);
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    void check(QWidget& window, QMap<QString, QString>& names) {
        QStringList unnamed;
        walk(QAccessible::queryAccessibleInterface(&window), unnamed, names);
        QVERIFY2(unnamed.isEmpty(), qPrintable(window.objectName() + ": no name for " + unnamed.join(", ")));
    }

private slots:
    void everyReachableControlHasAName() {
        const std::string ini = (dir.path() + "/Korvane.INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        ScriptedPrompt prompt;
        FrmP w(Settings(ini), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        w.frmParcourir().show();
        w.frmEnregistrer().show();

        QMap<QString, QString> french;
        check(w, french);
        check(w.frmCatalogue(), french);
        check(w.frmChar(), french);
        check(w.frmParcourir(), french);
        check(w.frmEnregistrer(), french);
        // The picture buttons and the fields, by name.
        QCOMPARE(french.value("CmdNouveau"), QStringLiteral("Nouveau document"));
        QCOMPARE(french.value("CmdColler"), QStringLiteral("Coller"));
        QCOMPARE(french.value("TxtNomFichier"), QStringLiteral("Nom du programme et arguments"));
        QCOMPARE(french.value("RichTxt1"), QStringLiteral("Programme"));
        QCOMPARE(french.value("LstCat"), QStringLiteral("Commandes du catalogue"));
        QCOMPARE(w.CmdCopier->toolTip(), QStringLiteral("Copier"));
        // A field beside a label takes the label's text.
        QVERIFY(french.value("TxtRep").startsWith(QStringLiteral("R\u00e9pertoire")));

        w.appliquerEn();
        QMap<QString, QString> english;
        check(w, english);
        check(w.frmCatalogue(), english);
        check(w.frmParcourir(), english);
        check(w.frmEnregistrer(), english);
        QCOMPARE(english.value("CmdNouveau"), QStringLiteral("New document"));
        QCOMPARE(english.value("CmdCouper"), QStringLiteral("Cut"));
        QCOMPARE(w.CmdCopier->toolTip(), QStringLiteral("Copy"));
        QCOMPARE(english.value("File1"), QStringLiteral("Files"));
        QCOMPARE(english.value("CmdCatalog"), QStringLiteral("Catalogue quick button"));
        // The palette's buttons keep their characters' names.
        QCOMPARE(w.frmChar().CmdPonctuation.front()->accessibleName(), QStringLiteral("exclamation mark (factorial)"));
        QCOMPARE(w.CmdPonctuation->accessibleName(), QStringLiteral("Punctuation quick button"));
        // The tooltips that say more than a name follow the language too.
        QCOMPARE(w.CboTaille->toolTip(), QStringLiteral("Change the text size"));
        QCOMPARE(w.CmdCatalog->toolTip(), QStringLiteral("Configurable button: right-click a Catalogue keyword to change this button"));

        for (auto it = english.cbegin(); it != english.cend(); ++it)
            qInfo("%s: %s / %s", qPrintable(it.key()), qPrintable(french.value(it.key())), qPrintable(it.value()));
        w.frmParcourir().hide();
        w.frmEnregistrer().hide();
        w.close();
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
