// The main window's tool strip (the tool-window toggles and the five configurable
// buttons) and its two tool windows: creation, docking, start-up and shutdown.
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <memory>

#include "editor/ui/EditorWidget.h"
#include "insert/Catalogue.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/LanguageApply.h"
#include "shell/ui/WindowPlacement.h"
#include "shell/ui/WrappingButton.h"

namespace korvane {
namespace {

int px(int twips) { return twips / kTwipsPerPixel; }
QRect twipsRect(int left, int top, int width, int height) { return {px(left), px(top), px(width), px(height)}; }
QString utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QuickButtonKind kindOf(PaletteGroup group) {
    switch (group) {
        case PaletteGroup::Greek: return QuickButtonKind::Greek;
        case PaletteGroup::Math: return QuickButtonKind::Math;
        case PaletteGroup::Ponctuation: return QuickButtonKind::Ponctuation;
        case PaletteGroup::Special: return QuickButtonKind::Special;
    }
    return QuickButtonKind::Catalogue;
}

QFont calculatorFont(double points) {
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Symbola")});
    f.setPointSizeF(points);
    return f;
}

}  // namespace

void FrmP::buildToolStrip() {
    const std::string appDir = QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString();
    catalogueFiles = catalogueCandidates(appDir);
    QWidget* central = centralWidget();

    // Push-style toggles in the calculator font; the palette's caption comes from
    // the language table.
    ChkCat = new WrappingButton(EditorWidget::toDisplay(std::string(kChkCatCaption)), central);
    ChkChar = new WrappingButton(EditorWidget::toDisplay(std::string(kChkCharCaptionFr)), central);
    const std::pair<QPushButton*, std::pair<const char*, int>> toggles[] = {{ChkCat, {"ChkCat", 480}},
                                                                            {ChkChar, {"ChkChar", 1200}}};
    for (const auto& [box, where] : toggles) {
        box->setObjectName(QString::fromLatin1(where.first));
        box->setCheckable(true);
        box->setFont(calculatorFont(8));
        box->setGeometry(twipsRect(3840, where.second, 1335, 615));
        box->setFocusPolicy(Qt::NoFocus);
    }
    ChkCat->setToolTip(utf8(kChkCatTip));
    ChkChar->setToolTip(utf8(kChkCharTip));
    connect(ChkCat, &QPushButton::toggled, this, &FrmP::ChkCat_Click);
    connect(ChkChar, &QPushButton::toggled, this, &FrmP::ChkChar_Click);

    // Small enough that "Ponctuation" stays clear of "Special" beside it.
    QFont labelFont = font();
    labelFont.setPointSizeF(7);
    QPushButton** controls[] = {&CmdGreek, &CmdMath, &CmdPonctuation, &CmdSpecial, &CmdCatalog};
    const auto buttons = quickButtons();
    int i = 0;
    for (const QuickButton& b : buttons) {
        QLabel* label = quickLabels[i] = new QLabel(utf8(b.label), central);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(labelFont);
        // As wide as its button, but never over the next caption ("Math" would lie
        // over the start of "Ponctuation").
        const int next = i + 1 < static_cast<int>(buttons.size()) ? buttons[i + 1].labelLeft : b.labelLeft + b.width;
        label->setGeometry(twipsRect(b.labelLeft, kQuickLabelTop, std::min(b.width, next - b.labelLeft), kQuickLabelHeight));
        QPushButton* button = *controls[i] = new QPushButton(central);
        button->setObjectName(utf8(b.name));
        button->setFont(calculatorFont(b.points));
        button->setGeometry(twipsRect(b.left, kQuickButtonTop, b.width, kQuickButtonHeight));
        button->setToolTip(utf8(b.tip));
        button->setFocusPolicy(Qt::NoFocus);
        const QuickButtonKind kind = b.kind;
        connect(button, &QPushButton::clicked, this, [this, kind] {
            const std::string text = quickInsertion(kind, quickCaption(kind));
            ajoutText(text, static_cast<int>(text.size()));
        });
        ++i;
    }
    const ShutdownSettings builtIn;
    setQuickCaption(QuickButtonKind::Greek, builtIn.cmdGreek);
    setQuickCaption(QuickButtonKind::Math, builtIn.cmdMath);
    setQuickCaption(QuickButtonKind::Ponctuation, builtIn.cmdPonctuation);
    setQuickCaption(QuickButtonKind::Special, builtIn.cmdSpecial);
    setQuickCaption(QuickButtonKind::Catalogue, builtIn.cmdCatalogue);
}

std::string FrmP::quickCaption(QuickButtonKind kind) const { return quickCaptions_[static_cast<int>(kind)]; }

void FrmP::setQuickCaption(QuickButtonKind kind, const std::string& caption) {
    const int i = static_cast<int>(kind);
    quickCaptions_[i] = caption;
    QPushButton* buttons[] = {CmdGreek, CmdMath, CmdPonctuation, CmdSpecial, CmdCatalog};
    buttons[i]->setText(EditorWidget::toReadable(quickLabel(kind, caption)));
    nameByCaption(*buttons[i], "FrmP", Langue);
}

FrmCatalogue& FrmP::frmCatalogue() {
    if (frmCatalogue_ && !frmCatalogue_->isClosing()) return *frmCatalogue_;
    const CatalogueFile file = readCatalogue(catalogueFiles);
    if (!file.failedPath.empty() && !catalogueMessageShown_) {
        catalogueMessageShown_ = true;
        prompt_.tell(catalogueMessage(file.failedPath), PromptIcon::Warning);
    }
    FrmCatalogue::Host host;
    host.ajoutText = [this](const std::string& text, int caret) { ajoutText(text, caret); };
    host.redock = [this] { layoutRoutine(); };
    host.setCatalogButton = [this](const std::string& caption) { setQuickCaption(QuickButtonKind::Catalogue, caption); };
    host.closed = [this] {
        ChkCat->setChecked(false);
        catalogOpen = false;
        frmCatalogue_ = nullptr;
    };
    host.langue = [this] { return Langue; };
    frmCatalogue_ = new FrmCatalogue(std::move(host), file.rows, this);
    // Created docked: against the right edge, as tall as the main window.
    const TwipsRect main = outerTwips(*this);
    const TwipsRect own = outerTwips(*frmCatalogue_);
    placeOuter(*frmCatalogue_, {main.left + main.width, main.top, own.width, main.height});
    return *frmCatalogue_;
}

FrmChar& FrmP::frmChar() {
    if (frmChar_ && !frmChar_->isClosing()) return *frmChar_;
    FrmChar::Host host;
    host.ajoutText = [this](const std::string& text, int caret) { ajoutText(text, caret); };
    host.redock = [this] { layoutRoutine(); };
    host.assign = [this](PaletteGroup group, const std::string& caption) { setQuickCaption(kindOf(group), caption); };
    host.closed = [this] {
        ChkChar->setChecked(false);
        charSpecialOpen = false;
        frmChar_ = nullptr;
    };
    frmChar_ = new FrmChar(std::move(host), this);
    const TwipsRect main = outerTwips(*this);
    placeOuter(*frmChar_, {main.left, main.top + main.height, 0, 0}, false);
    return *frmChar_;
}

void FrmP::ChkCat_Click() {
    if (!ChkCat->isChecked()) {
        if (frmCatalogue_) {
            FrmCatalogue& c = *frmCatalogue_;
            catDocked = c.isLocked;
            if (!c.isLocked) {
                const TwipsRect r = outerTwips(c);
                catLeft = r.left;
                catTop = r.top;
                catWidth = r.width;
                catHeight = r.height;
            }
            if (!c.isClosing()) c.fermerForm();
        }
        catalogOpen = false;
        // Its room beside the main window is free again.
        layoutRoutine();
        return;
    }
    catalogOpen = true;
    FrmCatalogue& c = frmCatalogue();
    c.show();
    // One closed while floating comes back floating where it was.
    if (!catDocked && !loading) {
        c.isLocked = true;
        c.CmdLock_Click();
        placeOuter(c, {catLeft, catTop, catWidth, catHeight});
    }
    layoutRoutine();
}

void FrmP::ChkChar_Click() {
    if (!ChkChar->isChecked()) {
        if (frmChar_) {
            FrmChar& p = *frmChar_;
            charDocked = p.isLocked;
            if (!p.isLocked) {
                const TwipsRect r = outerTwips(p);
                charLeft = r.left;
                charTop = r.top;
            }
            if (!p.isClosing()) p.fermerForm();
        }
        charSpecialOpen = false;
        layoutRoutine();
        return;
    }
    charSpecialOpen = true;
    FrmChar& p = frmChar();
    p.show();
    if (!charDocked && !loading) {
        p.isLocked = true;
        p.CmdLock_Click();
        placeOuter(p, {charLeft, charTop, 0, 0}, false);
    }
    layoutRoutine();
}

void FrmP::restoreToolWindows(const StartupSettings& read) {
    // Shown first, as the last run left them; then locked or floating.
    if (read.catalogOpen) ChkCat->setChecked(true);
    if (read.charSpecialOpen) ChkChar->setChecked(true);

    FrmCatalogue& c = frmCatalogue();
    c.isLocked = !read.lockCat;
    catDocked = !c.isLocked;
    c.CmdLock_Click();
    FrmChar& p = frmChar();
    p.isLocked = !read.lockChar;
    charDocked = !p.isLocked;
    p.CmdLock_Click();

    TwipsRect cat = outerTwips(c);
    if (read.hauteurCat) cat.height = static_cast<int>(*read.hauteurCat);
    if (read.xCat) cat.left = static_cast<int>(*read.xCat);
    if (read.yCat) cat.top = static_cast<int>(*read.yCat);
    placeOuter(c, cat);
    TwipsRect pal = outerTwips(p);
    if (read.xChar) pal.left = static_cast<int>(*read.xChar);
    if (read.yChar) pal.top = static_cast<int>(*read.yChar);
    placeOuter(p, pal, false);
    if (!c.isLocked) floatingCatalogue_ = cat;
    if (!p.isLocked) floatingPalette_ = pal;
}

// On X11 the window manager frames the windows some time after they are shown and
// keeps their client areas where they were, so a frame stored in the settings
// would be taken for a client area and creep at each restart. Once every shown
// window has its frame, start-up's placements are made again.
void FrmP::settleFrames(std::optional<WindowGeometry> stored) {
    auto* timer = new QTimer(this);
    auto ticks = std::make_shared<int>(0);
    auto settled = std::make_shared<int>(0);
    connect(timer, &QTimer::timeout, this, [this, timer, ticks, settled, stored] {
        const auto framed = [](const QWidget* w) { return !w || !w->isVisible() || w->frameGeometry() != w->geometry(); };
        if (!(framed(this) && framed(frmCatalogue_.data()) && framed(frmChar_.data())) && ++*ticks < 60) return;
        if (*settled == 0) {
            if (stored) setOuterGeometry(*stored);
            if (floatingCatalogue_ && frmCatalogue_ && !frmCatalogue_->isLocked) placeOuter(*frmCatalogue_, *floatingCatalogue_);
            if (floatingPalette_ && frmChar_ && !frmChar_->isLocked) placeOuter(*frmChar_, *floatingPalette_, false);
            floatingCatalogue_.reset();
            floatingPalette_.reset();
        }
        // The window manager answers the placements a little later: a few more runs
        // of the layout leave the docked windows in place.
        layoutRoutine();
        if (++*settled < 10) return;
        timer->stop();
        timer->deleteLater();
    });
    timer->start(50);
}

void FrmP::restoreQuickCaptions(const StartupSettings& read) {
    setQuickCaption(QuickButtonKind::Greek, read.cmdGreek);
    setQuickCaption(QuickButtonKind::Math, read.cmdMath);
    setQuickCaption(QuickButtonKind::Ponctuation, read.cmdPonctuation);
    setQuickCaption(QuickButtonKind::Special, read.cmdSpecial);
    setQuickCaption(QuickButtonKind::Catalogue, read.cmdCatalogue);
}

void FrmP::storeToolWindows(ShutdownSettings& state) {
    state.catalogOpen = catalogOpen;
    state.charSpecialOpen = charSpecialOpen;
    // A closed window is created afresh, docked, to give its values.
    FrmCatalogue& c = frmCatalogue();
    state.lockCat = c.isLocked;
    const TwipsRect cat = outerTwips(c);
    state.hauteurCat = static_cast<float>(cat.height);
    state.xCat = static_cast<float>(cat.left);
    state.yCat = static_cast<float>(cat.top);
    FrmChar& p = frmChar();
    state.lockChar = p.isLocked;
    const TwipsRect pal = outerTwips(p);
    state.xChar = static_cast<float>(pal.left);
    state.yChar = static_cast<float>(pal.top);
    state.cmdGreek = quickCaption(QuickButtonKind::Greek);
    state.cmdMath = quickCaption(QuickButtonKind::Math);
    state.cmdPonctuation = quickCaption(QuickButtonKind::Ponctuation);
    state.cmdSpecial = quickCaption(QuickButtonKind::Special);
    state.cmdCatalogue = quickCaption(QuickButtonKind::Catalogue);
}

void FrmP::closeToolWindows() {
    if (frmCatalogue_) frmCatalogue_->fermerForm();
    if (frmChar_) frmChar_->fermerForm();
}

void FrmP::describeToolWindows(LayoutInput& in) const {
    if (frmCatalogue_ && !frmCatalogue_->isClosing()) {
        in.catalogueLocked = frmCatalogue_->isLocked;
        in.catalogueShown = frmCatalogue_->isVisible();
        in.catalogue = outerTwips(*frmCatalogue_);
    }
    if (frmChar_ && !frmChar_->isClosing()) {
        in.paletteLocked = frmChar_->isLocked;
        in.paletteShown = frmChar_->isVisible();
        in.palette = outerTwips(*frmChar_);
    }
    if (const QScreen* shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        in.screen = TwipsRect{area.left() * kTwipsPerPixel, area.top() * kTwipsPerPixel, area.width() * kTwipsPerPixel,
                              area.height() * kTwipsPerPixel};
    }
}

void FrmP::giveRoomToToolWindows(const MainLayout& l) {
    // The window manager maximises the window within its largest size, which
    // leaves the docked windows their room on the screen; restoring it brings back
    // its own size, and the docked windows follow.
    // The size is never forced through the limit (a window manager that restores a
    // maximised window would see its restored size overridden): a window larger
    // than it is given its frame below. While maximised the frame differs, and
    // the limit waits for the window to be restored.
    const QSize frame = frameGeometry().size() - size();
    QSize largest(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (l.largest)
        largest = QSize(std::max(minimumWidth(), px(l.largest->width) - frame.width()),
                        std::max(1, px(l.largest->height) - frame.height()))
                      .expandedTo(size());
    if (!isMaximized() && maximumSize() != largest) setMaximumSize(largest);
    // A platform that maximises past that size, or a window made as large as the
    // screen by hand, is given the room here.
    if (l.main) placeOuter(*this, *l.main);
}

void FrmP::placeToolWindows(const MainLayout& l) {
    if (l.catalogue && frmCatalogue_) placeOuter(*frmCatalogue_, *l.catalogue);
    if (l.palette && frmChar_) placeOuter(*frmChar_, *l.palette, false);
}

void FrmP::mousePressEvent(QMouseEvent* event) {
    // A click on the window's own surface puts a locked catalogue back in place.
    LayoutInput in;
    in.main = outerTwips(*this);
    describeToolWindows(in);
    if (const auto place = catalogueAfterSurfaceClick(in)) placeOuter(*frmCatalogue_, *place);
    QMainWindow::mousePressEvent(event);
}

}  // namespace korvane
