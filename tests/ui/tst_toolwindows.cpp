// The catalogue window, the special-characters palette and the tool strip, driven
// with the mouse: insertion, assignment of the configurable buttons, docking, and
// what survives a restart.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "editor/CharTable.h"
#include "editor/ui/EditorWidget.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmP.h"
#include "ui/support/DialogAnswers.h"

using namespace korvane;

namespace {

// The palette's rows, from the top, left to right.
const std::vector<int> kPaletteCodes = {
    128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 181,       // Greek
    138, 139, 140, 141, 143, 144, 145, 146, 147, 148,            // Greek
    28, 29, 30, 31, 150, 152, 176, 159, 153, 154, 155, 156,      // Math
    157, 158, 168, 172, 185, 178, 179, 180, 215, 247, 177,       // Math
    33, 34, 35, 36, 37, 38, 39, 63, 64, 95, 96, 124, 126, 160,   // Ponctuation
    161, 162, 163, 164, 165, 166, 167, 169, 174, 182, 191, 171, 187,  // Ponctuation
    14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 127};     // Special
// The number of buttons of each group, in table order.
constexpr int kGreek = 21, kMath = 23, kPonctuation = 27;

constexpr int kTwips = 15;  // per pixel

std::string code(int c) { return std::string(1, static_cast<char>(c)); }

QRect frameOf(const QWidget& w) { return w.frameGeometry(); }

}  // namespace

class TestToolWindows : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    std::string ini(const char* suffix = "") const {
        return (dir.path() + "/" + QString::fromLatin1(QTest::currentTestFunction()) + suffix + ".INI").toStdString();
    }

    std::unique_ptr<FrmP> started(ScriptedPrompt& prompt, const std::string& iniPath,
                                  const std::vector<std::string>& catalogue = {}) {
        Settings(iniPath).ecrireIni("FirstLoad", "faux");
        auto w = std::make_unique<FrmP>(Settings(iniPath), prompt);
        w->runModal = [](QDialog& dialog) {
            if (!test::declineSaveQuestion(dialog)) dialog.exec();
        };
        if (!catalogue.empty()) w->catalogueFiles = catalogue;
        w->load("");
        QCoreApplication::processEvents();
        return w;
    }

    std::string writeCatalogue(const std::string& text) const {
        const std::string path = (dir.path() + "/" + QString::fromLatin1(QTest::currentTestFunction()) + ".dat").toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static void clickRow(QListWidget& list, int row, Qt::MouseButton button = Qt::LeftButton) {
        const QRect r = list.visualItemRect(list.item(row));
        QTest::mouseClick(list.viewport(), button, {}, r.center());
    }

private slots:
    void everyPaletteButtonInsertsItsCode() {
        ScriptedPrompt prompt;
        auto w = started(prompt, ini());
        FrmChar& palette = w->frmChar();
        QVERIFY(palette.isVisible());
        QCOMPARE(palette.buttons.size(), kPaletteCodes.size());
        QCOMPARE(palette.CmdCharGreek.size() + palette.CmdCharMath.size() + palette.CmdPonctuation.size() +
                     palette.CmdCharSpecial.size() + 1,
                 size_t(86));
        const std::string before = w->RichTxt1->text();
        int caret = w->RichTxt1->caret();
        for (size_t i = 0; i < kPaletteCodes.size(); ++i) {
            PaletteButton* button = palette.buttons[i];
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(w->RichTxt1->text().substr(caret, 1), code(kPaletteCodes[i]));
            QCOMPARE(w->RichTxt1->caret(), ++caret);
            // The tooltip names the code in decimal.
            QVERIFY(button->toolTip().startsWith(QString::number(kPaletteCodes[i]) + " : "));
        }
        std::string all;
        for (int c : kPaletteCodes) all += code(c);
        std::string expected = before;
        expected.insert(8, all);
        QCOMPARE(w->RichTxt1->text(), expected);
        // Inserting changed none of the configurable buttons.
        QCOMPARE(w->quickCaption(QuickButtonKind::Math), code(150));
        // A button holding the inverse mark reads ⁻¹, as the catalogue shows it.
        w->setQuickCaption(QuickButtonKind::Catalogue, "sin\xB4(");
        QCOMPARE(w->CmdCatalog->text(), QStringLiteral("sin\u207B\u00B9("));
        w->close();
    }

    void rightPressAndDragOffAssignTheGroupButton() {
        ScriptedPrompt prompt;
        auto w = started(prompt, ini());
        FrmChar& palette = w->frmChar();
        const std::string text = w->RichTxt1->text();
        const QuickButtonKind kinds[] = {QuickButtonKind::Greek, QuickButtonKind::Math, QuickButtonKind::Ponctuation,
                                         QuickButtonKind::Special};
        auto kindAt = [&](size_t i) {
            const int n = static_cast<int>(i);
            return kinds[n < kGreek ? 0 : n < kGreek + kMath ? 1 : n < kGreek + kMath + kPonctuation ? 2 : 3];
        };
        const size_t ampersand = 49;
        QCOMPARE(kPaletteCodes[ampersand], 38);
        for (size_t i = 0; i < kPaletteCodes.size(); ++i) {
            if (i == ampersand) continue;
            PaletteButton* button = palette.buttons[i];
            // A right press assigns at once; its release inside adds nothing.
            w->setQuickCaption(kindAt(i), "?");
            QTest::mousePress(button, Qt::RightButton);
            QCOMPARE(w->quickCaption(kindAt(i)), code(kPaletteCodes[i]));
            QTest::mouseRelease(button, Qt::RightButton);
            // A left press released 400 twips right of the button, or above it.
            w->setQuickCaption(kindAt(i), "?");
            QTest::mousePress(button, Qt::LeftButton);
            QTest::mouseMove(button, QPoint((375 + 400) / kTwips, 10));
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint((375 + 400) / kTwips, 10));
            QCOMPARE(w->quickCaption(kindAt(i)), code(kPaletteCodes[i]));
            w->setQuickCaption(kindAt(i), "?");
            QTest::mousePress(button, Qt::LeftButton);
            QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, -3));
            QCOMPARE(w->quickCaption(kindAt(i)), code(kPaletteCodes[i]));
        }
        QCOMPARE(w->RichTxt1->text(), text);

        // The Special button shows code 22 as the store arrow and inserts it.
        QTest::mousePress(palette.buttons[kGreek + kMath + kPonctuation + 8], Qt::RightButton);
        QCOMPARE(w->CmdSpecial->text(), QString(QChar(unitOfCode(22))));
        w->RichTxt1->setCaret(8);
        QTest::mouseClick(w->CmdSpecial, Qt::LeftButton);
        QCOMPARE(w->RichTxt1->text().substr(8, 1), code(22));

        // The ampersand: a right press gives the punctuation button "&", which inserts
        // one "&" with the caret after it; a drag off it assigns nothing.
        PaletteButton* amp = palette.CmdPonctuation_;
        QCOMPARE(amp->text(), QString("&&"));
        QTest::mousePress(amp, Qt::RightButton);
        QCOMPARE(w->quickCaption(QuickButtonKind::Ponctuation), std::string("&&"));
        QCOMPARE(w->CmdPonctuation->text(), QString("&&"));
        w->RichTxt1->setCaret(8);
        const std::string beforeAmp = w->RichTxt1->text();
        QTest::mouseClick(w->CmdPonctuation, Qt::LeftButton);
        QCOMPARE(w->RichTxt1->text(), beforeAmp.substr(0, 8) + "&" + beforeAmp.substr(8));
        QCOMPARE(w->RichTxt1->caret(), 9);
        w->setQuickCaption(QuickButtonKind::Ponctuation, "~");
        QTest::mousePress(amp, Qt::LeftButton);
        QTest::mouseRelease(amp, Qt::LeftButton, {}, QPoint(60, 60));
        QCOMPARE(w->quickCaption(QuickButtonKind::Ponctuation), std::string("~"));
        // A plain click on it inserts a single ampersand.
        const std::string beforeClick = w->RichTxt1->text();
        const int at = w->RichTxt1->caret();
        QTest::mouseClick(amp, Qt::LeftButton);
        QCOMPARE(w->RichTxt1->text(), beforeClick.substr(0, at) + "&" + beforeClick.substr(at));
        w->close();
    }

    void catalogueRowsInsertOrAssign() {
        ScriptedPrompt prompt;
        const std::string file = writeCatalogue("Disp,\"augment(a,b)\"\r\nPause\r\n\x12" "DMS\r\nFor\r\n");
        auto w = started(prompt, ini(), {file});
        QCOMPARE(prompt.shown.size(), size_t(0));
        FrmCatalogue& cat = w->frmCatalogue();
        QListWidget& list = *cat.LstCat;
        QCOMPARE(list.count(), 5);
        QCOMPARE(list.item(1)->text(), QString("augment(a,b)"));
        QCOMPARE(list.item(3)->text(), QString(QChar(unitOfCode(0x12))) + "DMS");

        // A click inserts the row with the caret after it.
        w->RichTxt1->setCaret(8);
        std::string text = w->RichTxt1->text();
        clickRow(list, 1);
        text.insert(8, "augment(a,b)");
        QCOMPARE(w->RichTxt1->text(), text);
        QCOMPARE(w->RichTxt1->caret(), 8 + 12);
        QCOMPARE(w->quickCaption(QuickButtonKind::Catalogue), std::string("Disp"));

        // A right press selects its row and assigns it; nothing is inserted.
        clickRow(list, 2, Qt::RightButton);
        QCOMPARE(list.currentRow(), 2);
        QCOMPARE(w->quickCaption(QuickButtonKind::Catalogue), std::string("Pause"));
        QCOMPARE(w->CmdCatalog->text(), QString("Pause"));
        QCOMPARE(w->RichTxt1->text(), text);

        // A drag from a row out of the list, left towards the main window.
        const QRect r = list.visualItemRect(list.item(3));
        QTest::mousePress(list.viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseMove(list.viewport(), QPoint(-20, r.center().y() + 40));
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, QPoint(-20, r.center().y() + 40));
        QCOMPARE(w->quickCaption(QuickButtonKind::Catalogue), std::string("\x12" "DMS"));
        QCOMPARE(w->RichTxt1->text(), text);

        // The catalogue button inserts its caption; a key only moves the selection,
        // Enter inserts it.
        w->RichTxt1->setCaret(8);
        QTest::mouseClick(w->CmdCatalog, Qt::LeftButton);
        text.insert(8, "\x12" "DMS");
        QCOMPARE(w->RichTxt1->text(), text);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.currentRow(), 4);
        QCOMPARE(w->RichTxt1->text(), text);
        QTest::keyClick(&list, Qt::Key_Enter);
        text.insert(12, "For");
        QCOMPARE(w->RichTxt1->text(), text);
        w->close();
    }

    void missingOrEmptyCatalogue() {
        ScriptedPrompt prompt;
        const std::string missing = (dir.path() + "/none/catalogue.dat").toStdString();
        auto w = started(prompt, ini(), {missing});
        QCOMPARE(prompt.shown.size(), size_t(1));
        QVERIFY(prompt.shown[0].text.find(missing) != std::string::npos);
        QCOMPARE(w->frmCatalogue().LstCat->count(), 0);
        // Closed and opened again: still one message.
        QTest::mouseClick(w->ChkCat, Qt::LeftButton);
        QVERIFY(!w->ChkCat->isChecked());
        QTest::mouseClick(w->ChkCat, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(prompt.shown.size(), size_t(1));
        w->close();

        ScriptedPrompt quiet;
        auto e = started(quiet, ini("-empty"), {writeCatalogue("")});
        QCOMPARE(quiet.shown.size(), size_t(0));
        QListWidget& list = *e->frmCatalogue().LstCat;
        QCOMPARE(list.count(), 0);
        const std::string text = e->RichTxt1->text();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QCOMPARE(e->RichTxt1->text(), text);
        QCOMPARE(e->quickCaption(QuickButtonKind::Catalogue), std::string("Disp"));
        e->close();
    }

    void dockedWindowsFollowTheMainWindow() {
        ScriptedPrompt prompt;
        auto w = started(prompt, ini());
        FrmCatalogue& cat = w->frmCatalogue();
        FrmChar& pal = w->frmChar();
        QVERIFY(cat.isVisible() && pal.isVisible());
        QCOMPARE(cat.CmdLock->text(), QString("UnLock"));
        QCOMPARE(pal.CmdLock->text(), QString("UnLock"));
        const int catWidth = frameOf(cat).width();

        auto docked = [&] {
            const QRect m = frameOf(*w);
            return frameOf(cat).topLeft() == QPoint(m.left() + m.width(), m.top()) &&
                   frameOf(cat).height() == m.height() && frameOf(cat).width() == catWidth &&
                   frameOf(pal).topLeft() == QPoint(m.left(), m.top() + m.height());
        };
        QVERIFY(docked());
        w->move(130, 70);
        QTRY_VERIFY(docked());
        QCOMPARE(frameOf(*w).topLeft(), QPoint(130, 70));
        w->resize(600, 500);
        QTRY_VERIFY(docked());

        // Narrower than 5340 twips snaps back to it.
        w->resize(200, 500);
        QTRY_COMPARE(frameOf(*w).width() * kTwips, 5340);
        QTRY_VERIFY(docked());
        // The editor keeps its height while the window is at most 3200 twips high.
        const int editor = w->RichTxt1->height();
        w->resize(w->width(), 3195 / kTwips - (frameOf(*w).height() - w->height()));
        QTRY_COMPARE(frameOf(*w).height(), 213);
        QCOMPARE(w->RichTxt1->height(), editor);
        w->resize(w->width(), 500);
        QTRY_COMPARE(w->RichTxt1->height(), (frameOf(*w).height() * kTwips - 3200) / kTwips);

        // The docked catalogue snaps its own height back to the main window's.
        cat.resize(cat.width(), 200);
        QTRY_COMPARE(frameOf(cat).height(), frameOf(*w).height());

        // A click on the window's surface brings a moved docked catalogue back.
        cat.move(0, 0);
        QTRY_COMPARE(frameOf(cat).topLeft(), QPoint(0, 0));
        QTest::mouseClick(w->centralWidget(), Qt::LeftButton, {}, QPoint(w->centralWidget()->width() - 5, 5));
        QTRY_VERIFY(docked());

        // Unlocked, the catalogue stays where it is; locked again, it jumps back.
        QTest::mouseClick(cat.CmdLock, Qt::LeftButton);
        QCOMPARE(cat.CmdLock->text(), QString("Lock"));
        QVERIFY(!cat.isLocked);
        const QRect catStays = frameOf(cat);
        w->move(40, 30);
        QTRY_COMPARE(frameOf(pal).topLeft(), QPoint(40, 30 + frameOf(*w).height()));
        QCOMPARE(frameOf(cat), catStays);
        QTest::mouseClick(cat.CmdLock, Qt::LeftButton);
        QCOMPARE(cat.CmdLock->text(), QString("UnLock"));
        QTRY_VERIFY(docked());
        w->close();
    }

    void maximisedTheDockedWindowsStayOnTheScreen() {
        ScriptedPrompt prompt;
        auto w = started(prompt, ini());
        FrmCatalogue& cat = w->frmCatalogue();
        FrmChar& pal = w->frmChar();
        QVERIFY(cat.isVisible() && pal.isVisible());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect normal = w->geometry();
        const QRect catNormal = frameOf(cat), palNormal = frameOf(pal);

        auto onScreenBesideAndBelow = [&] {
            const QRect m = frameOf(*w), c = frameOf(cat), p = frameOf(pal);
            return area.contains(m) && area.contains(c) && area.contains(p) &&
                   c.topLeft() == QPoint(m.right() + 1, m.top()) && c.height() == m.height() &&
                   p.topLeft() == QPoint(m.left(), m.bottom() + 1) &&
                   // The window takes all the rest: the catalogue ends at the screen's right edge.
                   m.topLeft() == area.topLeft() && c.right() == area.right() && p.bottom() == area.bottom();
        };
        w->showMaximized();
        QTRY_VERIFY2(onScreenBesideAndBelow(), qPrintable(QStringLiteral("main %1,%2 %3x%4 catalogue at %5,%6 palette at %7,%8")
                                                            .arg(frameOf(*w).x()).arg(frameOf(*w).y())
                                                            .arg(frameOf(*w).width()).arg(frameOf(*w).height())
                                                            .arg(frameOf(cat).x()).arg(frameOf(cat).y())
                                                            .arg(frameOf(pal).x()).arg(frameOf(pal).y())));
        // Usable: a click on the palette's last button and on a catalogue row insert.
        const std::string before = w->RichTxt1->text();
        QTest::mouseClick(pal.buttons.back(), Qt::LeftButton);
        QCOMPARE(w->RichTxt1->text().substr(8, 1), code(127));
        clickRow(*cat.LstCat, 0);
        QVERIFY(w->RichTxt1->text().size() > before.size() + 1);
        // Dragged larger by hand, it still leaves them their room.
        w->showNormal();
        w->resize(area.size() + QSize(40, 40));
        QTRY_VERIFY(frameOf(*w).width() + frameOf(cat).width() <= area.width());
        QVERIFY(frameOf(*w).height() + frameOf(pal).height() <= area.height());

        // Back to its own size, the docked windows come back where they were.
        w->showNormal();
        w->setGeometry(normal);
        QTRY_COMPARE(frameOf(cat), catNormal);
        QTRY_COMPARE(frameOf(pal), palNormal);
        // A closed catalogue gives its room back: the window may be as wide as the screen.
        QTest::mouseClick(w->ChkCat, Qt::LeftButton);
        QTRY_VERIFY(!w->catalogOpen);
        w->showMaximized();
        QTRY_COMPARE(frameOf(*w).width(), area.width());
        QTRY_VERIFY(area.contains(frameOf(pal)));
        w->close();
    }

    void closingAndReopeningKeepsThePlace() {
        ScriptedPrompt prompt;
        auto w = started(prompt, ini());
        // A floating catalogue closed with its own close box comes back where it was.
        FrmCatalogue* cat = &w->frmCatalogue();
        QTest::mouseClick(cat->CmdLock, Qt::LeftButton);
        cat->move(300, 200);
        cat->resize(150, 260);
        QTRY_COMPARE(cat->size(), QSize(150, 260));
        const QRect floating = frameOf(*cat);
        QCOMPARE(floating.topLeft(), QPoint(300, 200));
        QPointer<FrmCatalogue> closing(cat);
        cat->close();
        QTRY_VERIFY(closing.isNull());
        QVERIFY(!w->ChkCat->isChecked());
        QVERIFY(!w->catalogOpen);
        QTest::mouseClick(w->ChkCat, Qt::LeftButton);
        cat = &w->frmCatalogue();
        QVERIFY(cat->isVisible());
        QTRY_COMPARE(frameOf(*cat), floating);
        QCOMPARE(cat->CmdLock->text(), QString("Lock"));

        // A docked palette cleared and set again comes back docked, caption as created.
        QTest::mouseClick(w->ChkChar, Qt::LeftButton);
        QVERIFY(!w->charSpecialOpen);
        QTest::mouseClick(w->ChkChar, Qt::LeftButton);
        FrmChar& pal = w->frmChar();
        QVERIFY(pal.isVisible());
        QCOMPARE(pal.CmdLock->text(), QString("Unlock"));
        const QRect m = frameOf(*w);
        QTRY_COMPARE(frameOf(pal).topLeft(), QPoint(m.left(), m.top() + m.height()));
        // Floating, it keeps its place the same way.
        QTest::mouseClick(pal.CmdLock, Qt::LeftButton);
        pal.move(20, 400);
        QTRY_COMPARE(frameOf(pal).topLeft(), QPoint(20, 400));
        QTest::mouseClick(w->ChkChar, Qt::LeftButton);
        QTest::mouseClick(w->ChkChar, Qt::LeftButton);
        QTRY_COMPARE(frameOf(w->frmChar()).topLeft(), QPoint(20, 400));
        QCOMPARE(w->frmChar().CmdLock->text(), QString("Lock"));
        w->close();
    }

    void everyKeySurvivesARestart() {
        const std::string path = ini();
        const std::string file = writeCatalogue("Disp\r\n1\r\nPause\r\n");
        {
            ScriptedPrompt prompt;
            auto w = started(prompt, path, {file});
            // A missing settings file: the built-in captions and both windows open, docked.
            QCOMPARE(w->CmdGreek->text(), QString(QChar(unitOfCode(136))));
            QCOMPARE(w->CmdMath->text(), QString(QChar(unitOfCode(150))));
            QCOMPARE(w->CmdPonctuation->text(), QString("~"));
            QCOMPARE(w->CmdSpecial->text(), QString(QChar(unitOfCode(22))));
            QCOMPARE(w->CmdCatalog->text(), QString("Disp"));
            QVERIFY(w->ChkCat->isChecked() && w->ChkChar->isChecked());

            FrmChar& pal = w->frmChar();
            QTest::mousePress(pal.buttons[kGreek + kMath + kPonctuation + 13], Qt::RightButton);  // code 27
            QTest::mousePress(pal.buttons[kGreek + 3], Qt::RightButton);                          // code 31
            QTest::mousePress(pal.buttons[5], Qt::RightButton);                                   // code 133
            clickRow(*w->frmCatalogue().LstCat, 1, Qt::RightButton);                               // "1"
            QCOMPARE(w->quickCaption(QuickButtonKind::Catalogue), std::string("1"));
            // The catalogue floats at its own place; the palette is closed.
            QTest::mouseClick(w->frmCatalogue().CmdLock, Qt::LeftButton);
            w->frmCatalogue().move(450, 120);
            QTRY_COMPARE(frameOf(w->frmCatalogue()).topLeft(), QPoint(450, 120));
            QTest::mouseClick(w->ChkChar, Qt::LeftButton);
            w->close();
        }
        Settings stored(path);
        QCOMPARE(stored.lireIni("CmdSpecial"), std::string("a\x1b" "a"));
        QCOMPARE(stored.lireIni("CmdMath"), std::string("a\x1f" "a"));
        QCOMPARE(stored.lireIni("XCat"), std::string("6750"));
        QCOMPARE(stored.lireIni("Ycat"), std::string("1800"));
        {
            ScriptedPrompt prompt;
            auto w = started(prompt, path, {file});
            QCOMPARE(w->quickCaption(QuickButtonKind::Special), std::string("\x1b"));
            QCOMPARE(w->quickCaption(QuickButtonKind::Math), std::string("\x1f"));
            QCOMPARE(w->quickCaption(QuickButtonKind::Greek), std::string("\x85"));
            QCOMPARE(w->CmdCatalog->text(), QString("Disp"));
            QVERIFY(w->ChkCat->isChecked());
            QVERIFY(!w->ChkChar->isChecked());
            FrmCatalogue& cat = w->frmCatalogue();
            QVERIFY(cat.isVisible());
            QVERIFY(!cat.isLocked);
            QCOMPARE(cat.CmdLock->text(), QString("Lock"));
            QCOMPARE(frameOf(cat).topLeft(), QPoint(450, 120));
            // The palette was closed, so it was stored docked, and opens docked.
            QVERIFY(w->frmChar().isLocked);
            QTest::mouseClick(w->ChkChar, Qt::LeftButton);
            const QRect m = frameOf(*w);
            QTRY_COMPARE(frameOf(w->frmChar()).topLeft(), QPoint(m.left(), m.top() + m.height()));
            w->close();
        }
    }

    void everyCodeHasAGlyph() {
        // The editor, the palette and the buttons draw with these two fonts.
        const QStringList families = QFontDatabase::families();
        QVERIFY2(families.contains("DejaVu Sans Mono"), "fonts-dejavu-core is not installed");
        QVERIFY2(families.contains("Symbola"), "fonts-symbola is not installed");
        const QFontMetrics mono(QFont(QStringLiteral("DejaVu Sans Mono")));
        const QFontMetrics symbols(QFont(QStringLiteral("Symbola")));
        QStringList missing;
        for (int c = 0; c < 256; ++c) {
            if (c == 10 || c == 13) continue;  // only ever a line break
            const char32_t unit = unitOfCode(static_cast<unsigned char>(c));
            if (!mono.inFontUcs4(unit) && !symbols.inFontUcs4(unit))
                missing << QStringLiteral("%1 (U+%2)").arg(c).arg(static_cast<uint>(unit), 4, 16, QChar('0'));
        }
        QVERIFY2(missing.isEmpty(), qPrintable("no glyph for " + missing.join(", ")));
    }
};

QTEST_MAIN(TestToolWindows)
#include "tst_toolwindows.moc"
