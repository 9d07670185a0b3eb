#pragma once
// The windows of the help while writing: the status bar's labels, the small help
// window that F1 opens over the editor, and the question of the line to go to.
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <functional>

class QAbstractItemView;
class QAccessibleEvent;
class QLineEdit;
class QPushButton;

namespace korvane {

// A status bar label that never widens the window: a text longer than its room is
// drawn cut with "…", while text(), the tooltip and the accessible name keep it whole.
class StatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit StatusLabel(const char* name, QWidget* parent = nullptr);
    // Sets the text where screen readers read it too; nothing when it is unchanged.
    void showText(const QString& text, const QString& tip = {});

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Tells screen readers each word the completion list chooses, as the focus and the
// selection of that list item: the editor keeps the keyboard focus while the list
// is open, so the list never announces its own items.
void announceChosenItems(QAbstractItemView& list);
// Qt hands accessibility events on only where a screen reader listens; a watcher
// set here sees each announcement of the completion list as well (none: none).
void watchAnnouncements(std::function<void(QAccessibleEvent&)> watcher);

// The syntax and description of one command, shown under the caret without taking
// the keyboard. Escape in the editor, a click in it or leaving it closes it.
class CommandHelpPopup : public QFrame {
    Q_OBJECT
public:
    explicit CommandHelpPopup(QWidget* editor);
    // `syntax` empty: only `description` (no command at the caret).
    void showAt(const QPoint& global, const QString& syntax, const QString& description);

    QLabel* LblSyntaxe = nullptr;
    QLabel* LblDescription = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* editor_;
};

// "Aller à la ligne": a line number from 1 to `lines`, first showing `current`.
class FrmAllerLigne : public QDialog {
    Q_OBJECT
public:
    FrmAllerLigne(int lines, int current, QWidget* parent);
    int line() const;

    QLabel* LblLigne = nullptr;
    QLineEdit* TxtLigne = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdAnnuler = nullptr;
};

}  // namespace korvane
