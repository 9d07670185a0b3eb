// What a screen reader finds: every control a user can reach in the main window,
// its tool windows and its browsers has a name, in French and in English.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/WritingHelpWidgets.h"
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
        QCOMPARE(french.value("CmdCatalog"), QStringLiteral("Catalogue : Disp"));
        QCOMPARE(french.value("CmdSpecial"), QStringLiteral("Special : \u2192"));
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
        // The configurable buttons are named by what they insert.
        QCOMPARE(english.value("CmdCatalog"), QStringLiteral("Catalog: Disp"));
        QCOMPARE(english.value("CmdGreek"), QStringLiteral("Greek: \u03B8"));
        QCOMPARE(english.value("CmdPonctuation"), QStringLiteral("Punctuation: ~"));
        // The palette's buttons keep their characters' names.
        QCOMPARE(w.frmChar().CmdPonctuation.front()->accessibleName(), QStringLiteral("exclamation mark (factorial)"));
        // A character given to a button by a right press renames it; the ampersand reads as one.
        QTest::mousePress(w.frmChar().CmdPonctuation.front(), Qt::RightButton);
        QCOMPARE(w.CmdPonctuation->accessibleName(), QStringLiteral("Punctuation: !"));
        QTest::mousePress(w.frmChar().CmdPonctuation_, Qt::RightButton);
        QCOMPARE(w.CmdPonctuation->accessibleName(), QStringLiteral("Punctuation: &"));
        // The tooltips that say more than a name follow the language too.
        QCOMPARE(w.CboTaille->toolTip(), QStringLiteral("Change the text size"));
        QCOMPARE(w.CmdCatalog->toolTip(), QStringLiteral("Configurable button: right-click a Catalogue keyword to change this button"));

        for (auto it = english.cbegin(); it != english.cend(); ++it)
            qInfo("%s: %s / %s", qPrintable(it.key()), qPrintable(french.value(it.key())), qPrintable(it.value()));
        w.frmParcourir().hide();
        w.frmEnregistrer().hide();
        w.close();
    }

    void theCompletionListIsAListThatAnnouncesTheChosenWord() {
        const std::string ini = (dir.path() + "/completion.INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        ScriptedPrompt prompt;
        FrmP w(Settings(ini), prompt);
        w.runModal = test::declineSaveQuestion;
        w.load("");
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        EditorWidget* e = w.RichTxt1;
        e->setFocus();
        // What a screen reader is told (Qt tells it nothing here, where none listens).
        QList<std::pair<QAccessible::Event, QString>> told;
        watchAnnouncements([&](QAccessibleEvent& event) {
            if (event.object()->objectName() == QStringLiteral("LstCompletion") && event.accessibleInterface())
                told.append({event.type(), event.accessibleInterface()->text(QAccessible::Name)});
        });

        QTest::keyClicks(e, "Di");
        QTest::keyClick(e, Qt::Key_Space, Qt::ControlModifier);
        QAbstractItemView* list = e->completer()->popup();
        QTRY_VERIFY(list->isVisible());
        // A list of list items, each named by its word.
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(list);
        QVERIFY(node);
        QCOMPARE(node->role(), QAccessible::List);
        QVERIFY(!node->text(QAccessible::Name).isEmpty());
        const int rows = e->completer()->completionCount();
        QCOMPARE(node->childCount(), rows);
        for (int i = 0; i < rows; ++i) {
            QCOMPARE(node->child(i)->role(), QAccessible::ListItem);
            QCOMPARE(node->child(i)->text(QAccessible::Name), list->model()->index(i, 0).data().toString());
        }
        // The first word is chosen when the list opens, and each one the keys choose.
        QTRY_VERIFY(told.contains({QAccessible::Focus, list->currentIndex().data().toString()}));
        told.clear();
        QTest::keyClick(list, Qt::Key_Down);
        const QString second = list->currentIndex().data().toString();
        QVERIFY(told.contains({QAccessible::Focus, second}));
        QVERIFY(told.contains({QAccessible::Selection, second}));
        QTest::keyClick(list, Qt::Key_Escape);
        QTRY_VERIFY(!list->isVisible());
        watchAnnouncements({});
        w.close();
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
