#include "shell/ui/LanguageApply.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QStyle>
#include <QMenuBar>
#include <QWidget>

#include "editor/CharTable.h"
#include "shell/Languages.h"

namespace korvane {
namespace {

// Interface texts are UTF-8; a control character among them is a calculator code
// (the special-characters toggle ends with code 20), drawn through the character table.
QString fromUtf8(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar& c : shown)
        if (c.unicode() < 0x20) c = QChar(unitOfCode(static_cast<unsigned char>(c.unicode())));
    return shown;
}

// An accessible name holding "%1" names the control by its caption, as shown
// (a mnemonic's "&" left out, "&&" read as one "&").
QString withCaption(const QString& name, const QWidget& control) {
    if (!name.contains(QStringLiteral("%1"))) return name;
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    QString caption = button ? button->text() : QString();
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    return name.arg(caption);
}

void setCaption(QObject& control, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(&control)) menu->setTitle(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&control)) group->setTitle(text);
    else control.setProperty("text", text);
}

}  // namespace

void applyLanguage(QWidget& window, std::string_view windowName, const std::string& langue) {
    for (const auto table : {languageTable(), addedCaptions()}) {
        for (const LanguageText& row : table) {
            if (row.window != windowName) continue;
            const QString text = fromUtf8(textOf(row, langue));
            if (row.control.empty()) {
                window.setWindowTitle(text);
                // A list shown as a window of its own (the completion list) is named
                // by its title: its accessible interface, a list's, reads no title.
                if (qobject_cast<QAbstractItemView*>(&window)) window.setAccessibleName(text);
                continue;
            }
            // The elements of a control array share a name, in creation order.
            const QList<QObject*> named = window.findChildren<QObject*>(fromUtf8(row.control));
            if (row.index < named.size()) setCaption(*named[row.index], text);
        }
    }
    fitCaptions(window);
    for (const AccessibleText& row : accessibleTexts()) {
        if (row.window != windowName) continue;
        const QString text = fromUtf8(isEnglish(langue) ? row.english : row.french);
        for (QWidget* control : window.findChildren<QWidget*>(fromUtf8(row.control))) {
            // Not the controls of another window that this one owns (the palette's
            // punctuation buttons share a name with the main window's).
            if (control->window() != &window) continue;
            control->setAccessibleName(withCaption(text, *control));
            if (row.tooltip) control->setToolTip(text);
        }
    }
    for (const LanguageText& row : toolTipTexts()) {
        if (row.window != windowName) continue;
        const QString text = fromUtf8(textOf(row, langue));
        for (QWidget* control : window.findChildren<QWidget*>(fromUtf8(row.control)))
            if (control->window() == &window) control->setToolTip(text);
    }
}

namespace {

// The width a control needs to show its caption on one line; for a control that
// wraps its caption, its longest word. 0 for a control without a caption.
int captionWidth(const QWidget& control) {
    const QFontMetrics metrics(control.font());
    const bool wraps = control.inherits("korvane::WrappingButton") ||
                       (qobject_cast<const QLabel*>(&control) && static_cast<const QLabel&>(control).wordWrap());
    auto advance = [&](QString text) {
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
        if (!wraps) return metrics.horizontalAdvance(text);
        int widest = 0;
        for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        return widest;
    };
    const QStyle* style = control.style();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText) return 0;
        const QMargins m = label->contentsMargins();
        return advance(label->text()) + m.left() + m.right() + 2 * label->margin();
    }
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (!button || button->text().isEmpty()) return 0;
    const int text = advance(button->text());
    if (qobject_cast<const QCheckBox*>(button))
        return text + style->pixelMetric(QStyle::PM_IndicatorWidth) + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    if (qobject_cast<const QRadioButton*>(button))
        return text + style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    return text + style->pixelMetric(QStyle::PM_ButtonMargin);
}

// Room left between a caption and the control after it.
constexpr int kCaptionGap = 4;

}  // namespace

void fitCaptions(QWidget& window) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QWidget* parent = control->parentWidget();
        if (control->window() != &window || !parent || parent->layout()) continue;
        const int needed = captionWidth(*control);
        if (needed <= control->width()) continue;
        const QRect before(control->mapTo(&window, QPoint(0, 0)), control->size());
        control->resize(needed, control->height());
        // What stands on the label's row right after it moves clear of its text.
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QList<QWidget*> after = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            if (label->buddy()) after << label->buddy();
            const int clear = before.left() + needed + kCaptionGap;
            for (QWidget* next : after) {
                if (next == label || next->window() != &window || next->parentWidget()->layout()) continue;
                const QRect r(next->mapTo(&window, QPoint(0, 0)), next->size());
                const bool sameRow = r.top() < before.bottom() && before.top() < r.bottom();
                if (sameRow && r.left() >= before.right() - kCaptionGap && r.left() < clear)
                    next->move(next->x() + clear - r.left(), next->y());
            }
        }
    }
    // The window takes in what now passes its right edge.
    int right = 0;
    for (QWidget* control : window.findChildren<QWidget*>())
        if (control->window() == &window && control->isVisibleTo(&window))
            right = std::max(right, control->mapTo(&window, QPoint(control->width(), 0)).x());
    if (right > window.width() && !window.layout()) {
        if (window.minimumWidth() == window.maximumWidth()) window.setFixedWidth(right + kCaptionGap);
        else window.resize(right + kCaptionGap, window.height());
    }
}

void giveMenuMnemonics(QMenuBar& bar) {
    QString taken;
    for (QAction* action : bar.actions()) {
        QString title = action->text();
        qsizetype mark = -1;
        for (qsizetype i = 0; i < title.size(); ++i) {
            // "&&" is a literal ampersand; a single one is a mark already given.
            if (title[i] == u'&') {
                if (i + 1 < title.size() && title[i + 1] != u'&') {
                    mark = i;
                    break;
                }
                ++i;
                continue;
            }
            if (title[i].isLetter() && !taken.contains(title[i].toLower())) {
                title.insert(i, u'&');
                action->setText(title);
                mark = i;
                break;
            }
        }
        if (mark >= 0 && mark + 1 < title.size()) taken += title[mark + 1].toLower();
    }
}

bool hasLanguageRows(std::string_view windowName) {
    for (const auto table : {languageTable(), addedCaptions()})
        for (const LanguageText& row : table)
            if (row.window == windowName) return true;
    for (const AccessibleText& row : accessibleTexts())
        if (row.window == windowName) return true;
    for (const LanguageText& row : toolTipTexts())
        if (row.window == windowName) return true;
    return false;
}

LanguageFollower::LanguageFollower(QObject* parent, std::function<std::string()> currentLangue)
    : QObject(parent), currentLangue_(std::move(currentLangue)) {
    qApp->installEventFilter(this);
}

bool LanguageFollower::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const QByteArray name = widget->objectName().toUtf8();
        if (widget->isWindow() && hasLanguageRows(std::string_view(name.constData(), name.size())))
            applyLanguage(*widget, std::string_view(name.constData(), name.size()), currentLangue_());
    }
    return QObject::eventFilter(watched, event);
}

void nameByCaption(QWidget& control, std::string_view windowName, const std::string& langue) {
    const QByteArray name = control.objectName().toUtf8();
    for (const AccessibleText& row : accessibleTexts())
        if (row.window == windowName && row.control == std::string_view(name.constData(), name.size()))
            control.setAccessibleName(withCaption(fromUtf8(isEnglish(langue) ? row.english : row.french), control));
}

}  // namespace korvane
