// Nothing cut on a first run: every caption fits its control in both languages,
// the first window shows the whole tool strip and twenty lines of the editor, and
// no message asks to restart the computer.
#include <QAbstractButton>
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

// What the control needs across to show its caption on one line (each word, for
// a control that wraps its caption); 0 for a control without one.
int neededWidth(const QWidget& control) {
    const QFontMetrics metrics(control.font());
    auto advance = [&](const QString& text) {
        if (!control.inherits("korvane::WrappingButton") && !(qobject_cast<const QLabel*>(&control) &&
                                                               static_cast<const QLabel&>(control).wordWrap()))
            return metrics.horizontalAdvance(text);
        int widest = 0;
        for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        return widest;
    };
    const QStyle* style = control.style();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText) return 0;
        return advance(plain(label->text())) + label->contentsMargins().left() + label->contentsMargins().right() +
               2 * label->margin();
    }
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (!button || button->text().isEmpty()) return 0;
    const int text = advance(plain(button->text()));
    if (qobject_cast<const QCheckBox*>(button))
        return text + style->pixelMetric(QStyle::PM_IndicatorWidth) + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    if (qobject_cast<const QRadioButton*>(button))
        return text + style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    return text + 2 * style->pixelMetric(QStyle::PM_ButtonMargin) / 2;
}

// Every shown caption of `window` that is wider than its control.
QStringList cutCaptions(QWidget& window, const char* language) {
    QStringList cut;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->window() != &window || !control->isVisibleTo(&window)) continue;
        const int needed = neededWidth(*control);
        if (needed > control->width()) {
            const auto* label = qobject_cast<const QLabel*>(control);
            const QString text = label ? label->text() : static_cast<QAbstractButton*>(control)->text();
            cut << QStringLiteral("%1 %2 %3: \"%4\" needs %5 px, has %6")
                       .arg(language, window.objectName(), control->objectName(), text)
                       .arg(needed)
                       .arg(control->width());
        }
    }
    return cut;
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
        ScriptedPrompt prompt;
        const std::string ini = (dir.path() + "/walk.INI").toStdString();
        Settings(ini).ecrireIni("FirstLoad", "faux");
        FrmP w{Settings(ini), prompt};
        w.runModal = [](QDialog&) {};
        w.load("");
        QStringList cut;
        for (const bool english : {false, true}) {
            if (english) w.appliquerEn();
            else w.appliquerFr();
            const char* language = english ? "En" : "Fr";
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
            for (QWidget* window : windows) {
                window->show();
                QCoreApplication::processEvents();
                cut << cutCaptions(*window, language) << touching(*window);
                if (window != &w && window != &w.frmCatalogue() && window != &w.frmChar()) window->hide();
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));
        test::ModalScript script;
        script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
        w.runModal = [](QDialog& d) { d.exec(); };
        w.close();
    }
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
