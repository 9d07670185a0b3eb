#include "insert/ui/FrmCatalogue.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include "editor/WritingHelp.h"
#include "editor/ui/EditorWidget.h"
#include "insert/Catalogue.h"
#include "insert/CommandHelp.h"
#include "shell/Languages.h"
#include "shell/Layout.h"

namespace korvane {
namespace {

int px(int twips) { return twips / kTwipsPerPixel; }

// Lines of the help under the list; it never takes more than a third of the list's room.
constexpr int kHelpLines = 7;

}  // namespace

FrmCatalogue::FrmCatalogue(Host host, const std::vector<std::string>& rows, QWidget* parent)
    : ToolWindow(QStringLiteral("UnLock"), host.redock, host.closed, parent), host_(std::move(host)), rows_(rows) {
    setObjectName(QStringLiteral("FrmCatalogue"));
    setWindowTitle(QStringLiteral("Catalogue"));

    LstCat = new QListWidget(this);
    LstCat->setObjectName(QStringLiteral("LstCat"));
    LstCat->setSelectionMode(QAbstractItemView::SingleSelection);
    LstCat->setUniformItemSizes(true);
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Symbola")});
    f.setPointSizeF(9.75);
    LstCat->setFont(f);
    LstCat->setGeometry(0, 0, px(855), px(5100));
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(rows.size()));
    for (const std::string& row : rows) shown.push_back(EditorWidget::toReadable(row));
    LstCat->addItems(shown);
    LstCat->viewport()->installEventFilter(this);
    LstCat->installEventFilter(this);

    TxtCherche = new QLineEdit(this);
    TxtCherche->setObjectName(QStringLiteral("TxtCherche"));
    TxtCherche->setClearButtonEnabled(true);
    TxtCherche->installEventFilter(this);
    connect(TxtCherche, &QLineEdit::textChanged, this, &FrmCatalogue::TxtCherche_Change);
    LblAide = new QLabel(this);
    LblAide->setObjectName(QStringLiteral("LblAide"));
    LblAide->setWordWrap(true);
    LblAide->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblAide->setFrameShape(QFrame::StyledPanel);
    QFont small = font();
    small.setPointSizeF(7.5);
    LblAide->setFont(small);
    connect(LstCat, &QListWidget::currentRowChanged, this, &FrmCatalogue::showSelectedHelp);
    refreshHelp();

    resize(std::max(px(kCatalogueClientWidth), widthForCaptions()), px(kCatalogueClientHeight));
}

int FrmCatalogue::widthForCaptions() const {
    // The title, which window managers draw in a bold face with some room around
    // it, beside the window's icon and three buttons: some (Openbox) draw minimise
    // and maximise even for a window that asks for a close button only.
    QFont bold = font();
    bold.setBold(true);
    const int bar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int title = QFontMetrics(bold).horizontalAdvance(windowTitle()) + 5 * bar;
    // The search field's hint in either language, beside its frame, margins and
    // clear button; the field is the window's width less the list's margin.
    const QFontMetrics field(TxtCherche->font());
    int hint = 0;
    for (const char* langue : {"Fr", "En"})
        hint = std::max(hint, field.horizontalAdvance(QString::fromStdString(languageText("FrmCatalogue", "searchHint", 0, langue))));
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, TxtCherche);
    const int search = hint + 2 * frame + 8 + TxtCherche->sizeHint().height() + px(kCatalogueClientWidth - catalogueControls(kCatalogueClientWidth, kCatalogueClientHeight).listWidth);
    return std::max(title, search);
}

std::string FrmCatalogue::selectedText() const {
    const QListWidgetItem* item = LstCat->currentItem();
    return item ? EditorWidget::fromDisplay(item->text()) : std::string();
}

std::string FrmCatalogue::langue() const { return host_.langue ? host_.langue() : std::string("Fr"); }

QString FrmCatalogue::helpOf(const std::string& row) const {
    const CommandHelp* help = findCommandHelp(row);
    if (!help) return {};
    return EditorWidget::toReadable(std::string(help->syntax)) + u'\n' +
           EditorWidget::toDisplay(std::string(commandLine(*help, !isEnglish(langue()))));
}

void FrmCatalogue::refreshHelp() {
    TxtCherche->setPlaceholderText(QString::fromStdString(languageText("FrmCatalogue", "searchHint", 0, langue())));
    for (size_t i = 0; i < rows_.size(); ++i) LstCat->item(static_cast<int>(i))->setToolTip(helpOf(rows_[i]));
    showSelectedHelp();
}

void FrmCatalogue::showSelectedHelp() {
    const int row = LstCat->currentRow();
    const QString help = row >= 0 && static_cast<size_t>(row) < rows_.size() ? helpOf(rows_[row]) : QString();
    LblAide->setText(help);
    LblAide->setAccessibleName(help);
}

void FrmCatalogue::TxtCherche_Change() {
    const std::string typed = EditorWidget::fromDisplay(TxtCherche->text());
    for (size_t i = 0; i < rows_.size(); ++i) LstCat->setRowHidden(static_cast<int>(i), !nameContains(rows_[i], typed));
}

void FrmCatalogue::LstCat_Click() {
    if (rightClickMode || !LstCat->currentItem()) return;
    const std::string text = selectedText();
    host_.ajoutText(text, static_cast<int>(text.size()));
}

bool FrmCatalogue::eventFilter(QObject* watched, QEvent* event) {
    // In the search field, Enter inserts the first entry kept, as a click would;
    // Down goes on to the list.
    if (watched == TxtCherche && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Down) return QWidget::eventFilter(watched, event);
        int first = 0;
        while (first < LstCat->count() && LstCat->isRowHidden(first)) ++first;
        if (first == LstCat->count()) return true;
        if (key == Qt::Key_Down) {
            if (LstCat->currentRow() < 0 || LstCat->isRowHidden(LstCat->currentRow())) LstCat->setCurrentRow(first);
            LstCat->setFocus();
        } else {
            LstCat->setCurrentRow(first);
            LstCat_Click();
        }
        return true;
    }
    // Keys only move the selection; Enter inserts the selected row.
    if (watched == LstCat && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LstCat_Click();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (watched != LstCat->viewport()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = LstCat->indexAt(mouse->position().toPoint()).row();
        if (mouse->button() == Qt::RightButton) {
            // The row under the pointer becomes the catalogue button's text; the
            // selection this makes inserts nothing.
            rightClickMode = true;
            if (row >= 0) LstCat->setCurrentRow(row);
            rightClickMode = false;
            if (LstCat->currentItem()) host_.setCatalogButton(selectedText());
            return true;
        }
        if (mouse->button() == Qt::LeftButton) {
            // The click inserts on release, so that a drag out to the tool strip
            // assigns the entry without inserting it.
            pressedRow_ = row;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint inList = LstCat->viewport()->mapTo(LstCat, mouse->position().toPoint());
        if (releaseOutsideList(inList.x() * kTwipsPerPixel, LstCat->width() * kTwipsPerPixel)) {
            if (LstCat->currentItem()) host_.setCatalogButton(selectedText());
        } else if (mouse->button() == Qt::LeftButton && pressedRow_ >= 0 &&
                   LstCat->indexAt(mouse->position().toPoint()).row() == pressedRow_) {
            LstCat_Click();
        }
        pressedRow_ = -1;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmCatalogue::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize outer = frameGeometry().size();
    const CatalogueControls c = catalogueControls(outer.width() * kTwipsPerPixel, outer.height() * kTwipsPerPixel);
    // The lock button stays inside the client area whatever the frame takes.
    const int lockTop = std::min(px(c.lockTop), std::max(0, height() - px(kCatalogueLockHeight)));
    CmdLock->setGeometry(0, lockTop, width(), std::max(1, height() - lockTop));
    // The search field, the list and the help share the list's room, top to bottom.
    const int listWidth = std::max(0, std::min(px(c.listWidth), width()));
    const int bottom = std::min(px(c.listHeight), lockTop);
    const int searchHeight = std::min(TxtCherche->sizeHint().height(), bottom);
    const int helpHeight =
        std::min(kHelpLines * QFontMetrics(LblAide->font()).lineSpacing() + 6, std::max(0, (bottom - searchHeight) / 3));
    TxtCherche->setGeometry(0, 0, listWidth, searchHeight);
    LstCat->setGeometry(0, searchHeight, listWidth, std::max(0, bottom - searchHeight - helpHeight));
    LblAide->setGeometry(0, bottom - helpHeight, listWidth, helpHeight);
    if (isLocked) redock();
}

}  // namespace korvane
