#include "editor/ui/WritingHelpWidgets.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QEvent>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>

namespace korvane {

StatusLabel::StatusLabel(const char* name, QWidget* parent) : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    // The status bar's room decides the width, never the text.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

QSize StatusLabel::sizeHint() const { return {minimumWidth(), QLabel::sizeHint().height()}; }
QSize StatusLabel::minimumSizeHint() const { return sizeHint(); }

void StatusLabel::showText(const QString& text, const QString& tip) {
    if (text == this->text() && (tip.isEmpty() ? text : tip) == toolTip()) return;
    setText(text);
    setToolTip(tip.isEmpty() ? text : tip);
    setAccessibleName(text);
    setAccessibleDescription(tip);
}

void StatusLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(), isEnabled(), shown, foregroundRole());
}

namespace {

std::function<void(QAccessibleEvent&)>& announcementWatcher() {
    static std::function<void(QAccessibleEvent&)> watcher;
    return watcher;
}

}  // namespace

void watchAnnouncements(std::function<void(QAccessibleEvent&)> watcher) { announcementWatcher() = std::move(watcher); }

void announceChosenItems(QAbstractItemView& list) {
    QObject::connect(list.selectionModel(), &QItemSelectionModel::currentChanged, &list,
                     [&list](const QModelIndex& current) {
                         if (!current.isValid()) return;
                         // A one-column list: its items are the list's children in row order.
                         for (const QAccessible::Event type : {QAccessible::Focus, QAccessible::Selection}) {
                             QAccessibleEvent event(&list, type);
                             event.setChild(current.row());
                             QAccessible::updateAccessibility(&event);
                             if (announcementWatcher()) announcementWatcher()(event);
                         }
                     });
}

CommandHelpPopup::CommandHelpPopup(QWidget* editor) : QFrame(editor, Qt::ToolTip), editor_(editor) {
    setObjectName(QStringLiteral("FrmAideCommande"));
    setFrameShape(QFrame::Box);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setPalette(QToolTip::palette());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    LblSyntaxe = new QLabel(this);
    LblSyntaxe->setObjectName(QStringLiteral("LblSyntaxe"));
    QFont mono = editor->font();
    mono.setBold(true);
    LblSyntaxe->setFont(mono);
    LblDescription = new QLabel(this);
    LblDescription->setObjectName(QStringLiteral("LblDescription"));
    LblDescription->setWordWrap(true);
    LblDescription->setMaximumWidth(420);
    layout->addWidget(LblSyntaxe);
    layout->addWidget(LblDescription);
}

void CommandHelpPopup::showAt(const QPoint& global, const QString& syntax, const QString& description) {
    LblSyntaxe->setText(syntax);
    LblSyntaxe->setVisible(!syntax.isEmpty());
    LblDescription->setText(description);
    setAccessibleName(syntax.isEmpty() ? description : syntax + QStringLiteral(": ") + description);
    adjustSize();
    move(global);
    QFrame::show();
    raise();
    editor_->installEventFilter(this);
}

bool CommandHelpPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && isVisible()) {
        const auto type = event->type();
        const bool escape = type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (escape || type == QEvent::FocusOut || type == QEvent::MouseButtonPress || type == QEvent::Hide) {
            hide();
            editor_->removeEventFilter(this);
            if (escape) return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

FrmAllerLigne::FrmAllerLigne(int lines, int current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAllerLigne"));
    setModal(true);
    LblLigne = new QLabel(this);
    LblLigne->setObjectName(QStringLiteral("LblLigne"));
    TxtLigne = new QLineEdit(QString::number(current), this);
    TxtLigne->setObjectName(QStringLiteral("TxtLigne"));
    TxtLigne->setValidator(new QIntValidator(1, std::max(lines, 1), TxtLigne));
    TxtLigne->selectAll();
    LblLigne->setBuddy(TxtLigne);
    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    CmdAnnuler = new QPushButton(this);
    CmdAnnuler->setObjectName(QStringLiteral("CmdAnnuler"));
    auto* field = new QHBoxLayout;
    field->addWidget(LblLigne);
    field->addWidget(TxtLigne);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdOK);
    buttons->addWidget(CmdAnnuler);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);
    connect(CmdOK, &QPushButton::clicked, this, [this] {
        if (TxtLigne->hasAcceptableInput()) accept();
    });
    connect(CmdAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

int FrmAllerLigne::line() const { return TxtLigne->text().toInt(); }

}  // namespace korvane
