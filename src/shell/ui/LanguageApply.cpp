#include "shell/ui/LanguageApply.h"

#include <QApplication>
#include <QEvent>
#include <QAction>
#include <QMenu>
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

void setCaption(QObject& control, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(&control)) menu->setTitle(text);
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
                continue;
            }
            // The elements of a control array share a name, in creation order.
            const QList<QObject*> named = window.findChildren<QObject*>(fromUtf8(row.control));
            if (row.index < named.size()) setCaption(*named[row.index], text);
        }
    }
    for (const AccessibleText& row : accessibleTexts()) {
        if (row.window != windowName) continue;
        const QString text = fromUtf8(isEnglish(langue) ? row.english : row.french);
        for (QWidget* control : window.findChildren<QWidget*>(fromUtf8(row.control))) {
            // Not the controls of another window that this one owns (the palette's
            // punctuation buttons share a name with the main window's).
            if (control->window() != &window) continue;
            control->setAccessibleName(text);
            if (row.tooltip) control->setToolTip(text);
        }
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
    for (const LanguageText& row : languageTable())
        if (row.window == windowName) return true;
    for (const AccessibleText& row : accessibleTexts())
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

}  // namespace korvane
