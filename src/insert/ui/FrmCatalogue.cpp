#include "insert/ui/FrmCatalogue.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "editor/ui/EditorWidget.h"
#include "insert/Catalogue.h"
#include "shell/Layout.h"

namespace korvane {
namespace {

int px(int twips) { return twips / kTwipsPerPixel; }

}  // namespace

FrmCatalogue::FrmCatalogue(Host host, const std::vector<std::string>& rows, QWidget* parent)
    : ToolWindow(QStringLiteral("UnLock"), host.redock, host.closed, parent), host_(std::move(host)) {
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
    for (const std::string& row : rows) shown.push_back(EditorWidget::toDisplay(row));
    LstCat->addItems(shown);
    LstCat->viewport()->installEventFilter(this);
    LstCat->installEventFilter(this);

    resize(px(kCatalogueClientWidth), px(kCatalogueClientHeight));
}

std::string FrmCatalogue::selectedText() const {
    const QListWidgetItem* item = LstCat->currentItem();
    return item ? EditorWidget::fromDisplay(item->text()) : std::string();
}

void FrmCatalogue::LstCat_Click() {
    if (rightClickMode || !LstCat->currentItem()) return;
    const std::string text = selectedText();
    host_.ajoutText(text, static_cast<int>(text.size()));
}

bool FrmCatalogue::eventFilter(QObject* watched, QEvent* event) {
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
    LstCat->setGeometry(0, 0, std::max(0, std::min(px(c.listWidth), width())), std::min(px(c.listHeight), lockTop));
    if (isLocked) redock();
}

}  // namespace korvane
