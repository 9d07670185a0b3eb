#include "insert/ui/FrmChar.h"

#include <QLabel>
#include <QMouseEvent>

#include "editor/ui/EditorWidget.h"
#include "shell/Layout.h"

namespace korvane {
namespace {

int px(int twips) { return twips / kTwipsPerPixel; }

const char* arrayName(PaletteGroup group) {
    switch (group) {
        case PaletteGroup::Greek: return "CmdCharGreek";
        case PaletteGroup::Math: return "CmdCharMath";
        case PaletteGroup::Ponctuation: return "CmdPonctuation";
        case PaletteGroup::Special: return "CmdCharSpecial";
    }
    return "";
}

}  // namespace

PaletteButton::PaletteButton(const QString& caption, bool assignsOnRelease, QWidget* parent)
    : QPushButton(caption, parent), assignsOnRelease_(assignsOnRelease) {
    // The editor keeps the focus and its caret.
    setFocusPolicy(Qt::NoFocus);
}

void PaletteButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (assign) assign();
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void PaletteButton::mouseReleaseEvent(QMouseEvent* event) {
    if (assignsOnRelease_ && assign) {
        const QPoint p = event->position().toPoint();
        // The bounds are the design size of every button, whatever it is drawn at.
        if (releaseAssigns(p.x() * kTwipsPerPixel, p.y() * kTwipsPerPixel)) assign();
    }
    QPushButton::mouseReleaseEvent(event);
}

FrmChar::FrmChar(Host host, QWidget* parent)
    : ToolWindow(QStringLiteral("Unlock"), host.redock, host.closed, parent), host_(std::move(host)) {
    setObjectName(QStringLiteral("FrmChar"));
    setWindowTitle(QStringLiteral("Caract\u00e8res Sp\u00e9ciaux"));
    setFixedSize(px(kPaletteClientWidth), px(kPaletteClientHeight));

    QFont small = font();
    small.setPointSizeF(8);
    // The group captions fit the margin left of the buttons.
    QFont captions = font();
    captions.setPointSizeF(7);
    for (const PaletteLabel& label : paletteLabels()) {
        auto* l = new QLabel(QString::fromUtf8(label.caption.data(), static_cast<qsizetype>(label.caption.size())), this);
        l->setFont(captions);
        // A row's height, but not over the lock button under the last row.
        const int height = std::min(kPaletteButtonSize, kPaletteLockTop - label.top);
        l->setGeometry(px(60), px(label.top), px(kPaletteFirstLeft - 60), px(height));
    }

    QFont glyphs;
    glyphs.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Symbola")});
    glyphs.setPointSizeF(14.25);
    glyphs.setBold(true);
    for (const PaletteKey& key : paletteKeys()) {
        const std::string code(1, static_cast<char>(key.code));
        const bool ampersand = key.code == kAmpersand;
        // A caption holds the ampersand doubled; it shows as one.
        const QString caption = ampersand ? QStringLiteral("&&") : EditorWidget::toReadable(code);
        auto* button = new PaletteButton(caption, !ampersand, this);
        button->setObjectName(QString::fromLatin1(ampersand ? "CmdPonctuation_" : arrayName(key.group)));
        button->setFont(glyphs);
        button->setGeometry(px(paletteLeft(key)), px(paletteTop(key)), px(kPaletteButtonSize), px(kPaletteButtonSize));
        const QString name = QString::fromUtf8(key.name.data(), static_cast<qsizetype>(key.name.size()));
        button->setToolTip(QStringLiteral("%1 : %2").arg(key.code).arg(name));
        button->setAccessibleName(name);
        const PaletteGroup group = key.group;
        const std::string assigned = ampersand ? std::string("&&") : code;
        button->assign = [this, group, assigned] { host_.assign(group, assigned); };
        connect(button, &QPushButton::clicked, this, [this, code] { host_.ajoutText(code, 1); });
        buttons.push_back(button);
        if (ampersand) {
            CmdPonctuation_ = button;
            continue;
        }
        switch (key.group) {
            case PaletteGroup::Greek: CmdCharGreek.push_back(button); break;
            case PaletteGroup::Math: CmdCharMath.push_back(button); break;
            case PaletteGroup::Ponctuation: CmdPonctuation.push_back(button); break;
            case PaletteGroup::Special: CmdCharSpecial.push_back(button); break;
        }
    }

    CmdLock->setFont(small);
    CmdLock->setGeometry(0, px(kPaletteLockTop), px(kPaletteClientWidth), px(kPaletteLockHeight));
}

}  // namespace korvane
