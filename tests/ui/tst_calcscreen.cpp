// The calculator's screen window: what it draws of a screen for each model, at
// each size and in both colourings, and what its buttons copy and write, used with
// real clicks and keys; the file dialog answered inside its own modal loop.
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "files/Messages.h"
#include "link/ui/FrmEcran.h"
#include "support/ScratchDir.h"
#include "ui/support/ModalScript.h"

using namespace korvane;
using test::ModalScript;
using test::ScratchDir;

namespace {

// A screen whose every pixel differs from its neighbours' in a way a shift, a
// mirror or a crop would show: dark where (x * 7 + y * 3) % 5 < 2, and the last
// column and row of each model's visible part dark.
link::Screen patternScreen() {
    link::Screen screen;
    screen.bits.assign(link::Screen::kRowBytes * link::Screen::kHeight, 0);
    auto set = [&](int x, int y) { screen.bits[y * link::Screen::kRowBytes + x / 8] |= 0x80 >> (x % 8); };
    for (int y = 0; y < link::Screen::kHeight; ++y)
        for (int x = 0; x < link::Screen::kWidth; ++x)
            if ((x * 7 + y * 3) % 5 < 2 || x == 159 || y == 99 || x == 239 || y == 127) set(x, y);
    return screen;
}

bool expectedDark(int x, int y) { return (x * 7 + y * 3) % 5 < 2 || x == 159 || y == 99 || x == 239 || y == 127; }

// Whether `image` draws every calculator pixel of a width x height screen as a
// zoom x zoom square of `dark` or `light`; the first wrong pixel otherwise.
QString checkDrawn(const QImage& image, int width, int height, int zoom, QRgb dark, QRgb light) {
    if (image.size() != QSize(width * zoom, height * zoom))
        return QStringLiteral("size %1x%2").arg(image.width()).arg(image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb want = expectedDark(x / zoom, y / zoom) ? dark : light;
            if ((image.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF)) return QStringLiteral("pixel %1,%2").arg(x).arg(y);
        }
    return {};
}

}  // namespace

class TestCalcScreen : public QObject {
    Q_OBJECT
private:
    std::string langue = "Fr";
    std::unique_ptr<FrmEcran> window() {
        auto w = std::make_unique<FrmEcran>([this] { return langue; }, nullptr);
        w->show();
        w->activateWindow();
        return w;
    }

private slots:
    // Each model's visible part, at 2x and 3x (chosen in the size box from the
    // keyboard), black on white and in the LCD's colours, pixel for pixel.
    void drawsTheModelsVisiblePart() {
        auto w = window();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QVERIFY(!w->CmdCopier->isEnabled());
        QCOMPARE(w->ImgEcran->text(), QStringLiteral("Aucun \u00e9cran re\u00e7u."));
        const link::Screen screen = patternScreen();
        for (const auto& [calc, width, height] : {std::tuple{link::Calc::TI89, 160, 100}, {link::Calc::TI89Titanium, 160, 100},
                                                   {link::Calc::TI92Plus, 240, 128}, {link::Calc::Voyage200, 240, 128}}) {
            w->setScreen(screen, calc);
            QVERIFY(w->CmdCopier->isEnabled());
            w->CboZoom->setFocus();
            QTest::keyClick(w->CboZoom, Qt::Key_Home);
            QCOMPARE(w->zoom(), 2);
            QCOMPARE(checkDrawn(w->ImgEcran->pixmap().toImage(), width, height, 2, qRgb(0, 0, 0), qRgb(255, 255, 255)),
                     QString());
            QTest::keyClick(w->CboZoom, Qt::Key_Down);
            QCOMPARE(w->zoom(), 3);
            QCOMPARE(checkDrawn(w->ImgEcran->pixmap().toImage(), width, height, 3, qRgb(0, 0, 0), qRgb(255, 255, 255)),
                     QString());
            w->setLcdColours(true);
            QCOMPARE(checkDrawn(w->ImgEcran->pixmap().toImage(), width, height, 3, FrmEcran::kLcdDark, FrmEcran::kLcdLight),
                     QString());
            w->setLcdColours(false);
        }
    }

    // "Copier" puts the picture as drawn on the clipboard; F6 asks for the screen again.
    void copiesAndRefreshes() {
        auto w = window();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->setScreen(patternScreen(), link::Calc::TI89);
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(w->CmdCopier, Qt::LeftButton);
        QCOMPARE(checkDrawn(QGuiApplication::clipboard()->image(), 160, 100, 2, qRgb(0, 0, 0), qRgb(255, 255, 255)),
                 QString());
        QSignalSpy refresh(w.get(), &FrmEcran::refreshRequested);
        QTest::keyClick(w.get(), Qt::Key_F6);
        QCOMPARE(refresh.count(), 1);
        QTest::mouseClick(w->CmdActualiser, Qt::LeftButton);
        QCOMPARE(refresh.count(), 2);
    }

    // "Enregistrer..." asks where in a file dialog and writes a PNG that a reader
    // reads back with the visible part's every pixel, at one image pixel each; a
    // place that cannot be written is told, and an older file there stays.
    void savesAPng() {
        ScratchDir dir;
        auto w = window();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->setScreen(patternScreen(), link::Calc::Voyage200);
        const QString path = QString::fromStdString(dir.file("ecran"));
        ModalScript script;
        script.then<QFileDialog>([&](QFileDialog& d) {
            auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            // Typed whole at once: the name box's completion list would take the Enter.
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(w->CmdEnregistrer, Qt::LeftButton);
        QTRY_VERIFY(script.done());
        QImage written(path + QStringLiteral(".png"));
        QVERIFY(!written.isNull());
        QCOMPARE(written.depth(), 1);
        QCOMPARE(checkDrawn(written, 240, 128, 1, qRgb(0, 0, 0), qRgb(255, 255, 255)), QString());

        w->setLcdColours(true);
        QCOMPARE(w->savePng(path + QStringLiteral("-lcd.png")), QString());
        QCOMPARE(checkDrawn(QImage(path + QStringLiteral("-lcd.png")), 240, 128, 1, FrmEcran::kLcdDark, FrmEcran::kLcdLight),
                 QString());

        QSignalSpy failed(w.get(), &FrmEcran::saveFailed);
        w->askSavePath = [&] { return QString::fromStdString(dir.file("no-folder/ecran.png")); };
        QTest::mouseClick(w->CmdEnregistrer, Qt::LeftButton);
        QCOMPARE(failed.count(), 1);
        const QString told = failed.front().front().toString();
        QVERIFY(told.startsWith(QString::fromStdString(message(MessageId::SaveFailed, {"", ""})).section(u'\n', 0, 0)));
        QVERIFY(told.contains(QStringLiteral("no-folder/ecran.png")));
    }
};

QTEST_MAIN(TestCalcScreen)
#include "tst_calcscreen.moc"
