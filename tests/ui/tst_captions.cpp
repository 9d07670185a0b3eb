// Nothing cut on a first run: every caption, measured in its widget's own font
// where the widget draws it after show and layout, shows whole in both languages
// (the tool windows' titles too); the first window shows the whole tool strip and
// twenty lines of the editor, and no message asks to restart the computer.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmImprime.h"
#include "editor/ui/FrmRechercher.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "files/ui/FrmChoixVariable.h"
#include "files/ui/FrmChxPrgmFunc.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "files/ui/FrmSaveTok.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmAbout1.h"
#include "shell/ui/FrmOption.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/LanguageApply.h"
#include "ui/support/ModalScript.h"

using namespace korvane;

namespace {

QString plain(QString text) { return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&'); }

struct Caption {
    QString text;
    QRect room;          // where the widget draws it, after show and layout
    int flags = 0;       // alignment, and word wrap for a caption on several lines
};

// The caption a widget shows and the rectangle it draws it in, as the widget and
// its style place it; no text for a widget without a caption.
Caption captionOf(QWidget& control) {
    const QStyle* style = control.style();
    if (auto* label = qobject_cast<QLabel*>(&control)) {
        if (label->textFormat() == Qt::RichText || !label->pixmap().isNull()) return {};
        const int m = label->margin();
        return {plain(label->text()), label->contentsRect().adjusted(m, m, -m, -m),
                static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0)};
    }
    if (auto* box = qobject_cast<QCheckBox*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return {plain(box->text()), style->subElementRect(QStyle::SE_CheckBoxContents, &option, box),
                Qt::AlignLeft | Qt::AlignVCenter};
    }
    if (auto* option = qobject_cast<QRadioButton*>(&control)) {
        QStyleOptionButton o;
        o.initFrom(option);
        o.text = option->text();
        return {plain(option->text()), style->subElementRect(QStyle::SE_RadioButtonContents, &o, option),
                Qt::AlignLeft | Qt::AlignVCenter};
    }
    if (auto* button = qobject_cast<QPushButton*>(&control)) {
        if (!button->icon().isNull() && button->text().isEmpty()) return {};
        QStyleOptionButton option;
        option.initFrom(button);
        option.features = button->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
        const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return {plain(button->text()), contents,
                Qt::AlignCenter | (control.inherits("korvane::WrappingButton") ? Qt::TextWordWrap : 0)};
    }
    if (auto* field = qobject_cast<QLineEdit*>(&control)) {
        // The hint shows while the field is empty.
        const QString text = field->text().isEmpty() ? field->placeholderText() : field->text();
        QStyleOptionFrame option;
        option.initFrom(field);
        option.lineWidth = field->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
        QRect room = style->subElementRect(QStyle::SE_LineEditContents, &option, field) - field->textMargins();
        room.adjust(2, 0, -2, 0);  // the field's own margin before and after its text
        // What its buttons (the clear button) take at the edges.
        for (QWidget* side : field->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!side->isVisibleTo(field) && !field->isClearButtonEnabled()) continue;
            if (side->x() > room.center().x()) room.setRight(std::min(room.right(), side->x() - 1));
            else room.setLeft(std::max(room.left(), side->geometry().right() + 1));
        }
        return {text, room, static_cast<int>(field->alignment())};
    }
    return {};
}

// Whether the caption shows whole: the ink of its text, drawn in the widget's own
// font where its alignment puts it, lies inside the room (each word, for a
// caption that wraps), inside the window, and clear of every other control.
QString cutCaption(QWidget& control) {
    const Caption c = captionOf(control);
    if (c.text.isEmpty()) return {};
    const QFontMetrics metrics(control.font());
    const QRect box = metrics.boundingRect(c.room, c.flags, c.text);
    QRect ink;
    if (c.flags & Qt::TextWordWrap) {
        // Lines as wide as the widest word at most, one line spacing apart.
        int widest = 0;
        for (const QString& word : c.text.split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        ink = QRect(box.left(), box.top(), std::max(box.width(), widest), box.height());
    } else {
        const QRect glyphs = metrics.tightBoundingRect(c.text);
        ink = glyphs.translated(box.left(), box.top() + metrics.ascent());
    }
    // A glyph may reach one pixel past its advance (an overhanging "T"): not a cut.
    ink.adjust(1, 0, -1, 0);
    QString why;
    if (!c.room.contains(ink))
        why = QStringLiteral("its room %1,%2 %3x%4").arg(c.room.x()).arg(c.room.y()).arg(c.room.width()).arg(c.room.height());
    QWidget* window = control.window();
    const QRect inWindow(control.mapTo(window, ink.topLeft()), ink.size());
    if (why.isEmpty() && !window->rect().contains(inWindow)) why = QStringLiteral("the window");
    // Another control over the text or under it: either hides or crosses it.
    for (QWidget* other : window->findChildren<QWidget*>()) {
        if (!why.isEmpty()) break;
        if (other == &control || other->window() != window || !other->isVisibleTo(window) || other->isAncestorOf(&control) ||
            control.isAncestorOf(other))
            continue;
        const QRect otherRect(other->mapTo(window, QPoint(0, 0)), other->size());
        if (otherRect.intersects(inWindow))
            why = other->objectName().isEmpty() ? QString::fromLatin1(other->metaObject()->className()) : other->objectName();
    }
    if (why.isEmpty()) return {};
    return QStringLiteral("\"%1\" drawn at %2,%3 %4x%5 is cut by %6")
        .arg(c.text)
        .arg(ink.x())
        .arg(ink.y())
        .arg(ink.width())
        .arg(ink.height())
        .arg(why);
}

// Every shown caption of `window` that its control cuts.
QStringList cutCaptions(QWidget& window, const char* language) {
    QStringList cut;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->window() != &window || !control->isVisibleTo(&window)) continue;
        const QString problem = cutCaption(*control);
        if (!problem.isEmpty())
            cut << QStringLiteral("%1 %2 %3 %4").arg(language, window.objectName(), control->objectName(), problem);
    }
    return cut;
}

// A window manager draws the title in the title bar, with some room around it
// (half a bar's height on each side), beside the window's icon and its buttons:
// minimise, maximise and close, as Openbox does even for a window that asks for a
// close button only.
QString cutTitle(QWidget& window, const char* language) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int bar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    const int needed = QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 5 * bar;
    if (needed <= window.frameGeometry().width()) return {};
    return QStringLiteral("%1 %2 title \"%3\" needs %4 px, has %5")
        .arg(language, window.objectName(), window.windowTitle())
        .arg(needed)
        .arg(window.frameGeometry().width());
}

// Two captions that stand on one row must not touch: a label and the control
// after it keep a gap.
QStringList touching(QWidget& window) {
    QStringList out;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->window() != &window || !label->isVisibleTo(&window) || !label->buddy()) continue;
        const QWidget* field = label->buddy();
        const QRect text(label->mapTo(&window, QPoint(0, 0)),
                         QSize(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->height()));
        const QRect fieldRect(field->mapTo(&window, QPoint(0, 0)), field->size());
        if (text.right() + 2 >= fieldRect.left() && text.top() < fieldRect.bottom() && fieldRect.top() < text.bottom())
            out << QStringLiteral("%1 touches %2").arg(label->text(), field->objectName());
    }
    return out;
}

}  // namespace

class TestCaptions : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    void aFirstRunShowsEverythingWhole() {
        ScriptedPrompt prompt;
        const std::string ini = (dir.path() + "/first.INI").toStdString();
        FrmP w{Settings(ini), prompt};
        w.load("");
        // No message about restarting the computer, or any other.
        QVERIFY(prompt.shown.empty());

        // The whole tool strip: every control of the strip lies inside the window.
        for (QWidget* control : w.centralWidget()->findChildren<QWidget*>()) {
            // The strip itself is as wide as the frame, by the layout's rule.
            const bool onStrip = control->parentWidget() == w.centralWidget() || control->parentWidget() == w.Picture1;
            if (!control->isVisibleTo(&w) || !onStrip || control == w.Picture1 || control == w.RichTxt1 ||
                control == w.TxtNomFichier || control == w.PrgsBar)
                continue;
            const QRect r(control->mapTo(&w, QPoint(0, 0)), control->size());
            QVERIFY2(w.rect().contains(r), qPrintable(QStringLiteral("%1 %2 at %3,%4 %5x%6 in %7x%8")
                                                          .arg(control->metaObject()->className(), control->objectName())
                                                          .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                                                          .arg(w.width()).arg(w.height())));
        }
        // Twenty lines of the editor at the stored font size.
        EditorWidget& e = *w.RichTxt1;
        const int lineHeight = QFontMetrics(e.font()).lineSpacing();
        QVERIFY2(e.viewport()->height() >= 20 * lineHeight,
                 qPrintable(QStringLiteral("%1 px for lines of %2 px").arg(e.viewport()->height()).arg(lineHeight)));
        test::ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w.close();
    }

    void noCaptionIsCutInEitherLanguage() {
        // The platform's font, then the larger one many desktops choose.
        const QFont platform = QApplication::font();
        QStringList cut;
        for (const double points : {platform.pointSizeF(), 11.0}) {
            QFont font = platform;
            font.setPointSizeF(points);
            QApplication::setFont(font);
            const QString prefix = QStringLiteral("%1 pt").arg(points);
            ScriptedPrompt prompt;
            const std::string ini = (dir.path() + QStringLiteral("/walk%1.INI").arg(points)).toStdString();
            Settings(ini).ecrireIni("FirstLoad", "faux");
            FrmP w{Settings(ini), prompt};
            w.runModal = [](QDialog&) {};
            w.load("");
            for (const bool english : {false, true}) {
                if (english) w.appliquerEn();
                else w.appliquerFr();
                const QByteArray language = (prefix + (english ? " En" : " Fr")).toUtf8();
                bool prgmFunc = true, ask = true;
                FrmChxPrgmFunc kind(prgmFunc, ask, &w);
                FrmAbout1 about(w.Langue, &w);
                FrmOption options(w);
                FrmImprime print([] { return std::string(); }, [&] { return w.Langue; }, prompt, &w);
                FrmRechercher search(*w.RichTxt1, prompt, [&] { return w.Langue; }, &w);
                FrmChoixVariable variables({}, w.Langue, &w);
                FrmChoixVariable received({{"main\\a", QStringLiteral("main\\a    ") + FrmChoixVariable::describe(false, 12, w.Langue)}},
                                          "calculator", w.Langue, &w);
                FrmAllerLigne goTo(40, 3, &w);
                applyLanguage(goTo, "FrmAllerLigne", w.Langue);
                QList<QWidget*> windows{&w,     &w.frmCatalogue(), &w.frmChar(), &w.frmSaveTok(), &w.frmParcourir(),
                                        &w.frmEnregistrer(), &kind, &about, &options, &print, &search, &variables, &received,
                                        &goTo};
                // At the larger font, the windows whose controls stand at fixed
                // places: the main window and its tool windows.
                if (points != platform.pointSizeF()) windows = {&w, &w.frmCatalogue(), &w.frmChar()};
                for (QWidget* window : windows) {
                    window->show();
                    QCoreApplication::processEvents();
                    cut << cutCaptions(*window, language.constData()) << touching(*window);
                    if (window == &w.frmCatalogue() || window == &w.frmChar()) cut << cutTitle(*window, language.constData());
                    if (window != &w && window != &w.frmCatalogue() && window != &w.frmChar()) window->hide();
                }
            }
            test::ModalScript script;
            script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
            w.runModal = [](QDialog& d) { d.exec(); };
            w.close();
        }
        QApplication::setFont(platform);
        cut.removeAll(QString());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));
    }
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
