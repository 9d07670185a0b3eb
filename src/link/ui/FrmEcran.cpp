#include "link/ui/FrmEcran.h"

#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QVBoxLayout>

#include "files/Messages.h"
#include "shell/Languages.h"

namespace korvane {
namespace {

template <typename Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace

FrmEcran::FrmEcran(std::function<std::string()> langue, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      langue_(std::move(langue)) {
    setObjectName(QStringLiteral("FrmEcran"));
    // Shown after a run while the person types: the keyboard stays in the editor.
    setAttribute(Qt::WA_ShowWithoutActivating);
    ImgEcran = named(new QLabel(this), "ImgEcran");
    ImgEcran->setAlignment(Qt::AlignCenter);
    ImgEcran->setFrameShape(QFrame::Box);
    LblZoom = named(new QLabel(this), "LblZoom");
    CboZoom = named(new QComboBox(this), "CboZoom");
    CboZoom->addItem(QStringLiteral("\u00d72"), 2);
    CboZoom->addItem(QStringLiteral("\u00d73"), 3);
    LblZoom->setBuddy(CboZoom);
    CmdActualiser = named(new QPushButton(this), "CmdActualiser");
    // Its own shortcut: a caption set on the button would replace the button's.
    auto* refreshKey = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(refreshKey, &QShortcut::activated, this, &FrmEcran::refreshRequested);
    CmdCopier = named(new QPushButton(this), "CmdCopier");
    CmdEnregistrer = named(new QPushButton(this), "CmdEnregistrer");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LblZoom);
    buttons->addWidget(CboZoom);
    buttons->addStretch();
    for (QPushButton* button : {CmdActualiser, CmdCopier, CmdEnregistrer}) buttons->addWidget(button);
    auto* column = new QVBoxLayout(this);
    column->addWidget(ImgEcran, 1);
    column->addLayout(buttons);

    askSavePath = [this] {
        QFileDialog dialog(this, QString::fromStdString(languageText("FrmEcran", "saveTitle", 0, langue_())));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(QStringLiteral("PNG (*.png)"));
        dialog.setDefaultSuffix(QStringLiteral("png"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                      : QString();
    };

    connect(CboZoom, &QComboBox::currentIndexChanged, this, &FrmEcran::redraw);
    connect(CmdActualiser, &QPushButton::clicked, this, &FrmEcran::refreshRequested);
    connect(CmdCopier, &QPushButton::clicked, this, &FrmEcran::copy);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmEcran::save);
    redraw();
}

void FrmEcran::setScreen(const link::Screen& screen, link::Calc calc) {
    screen_ = screen;
    calc_ = calc;
    redraw();
}

void FrmEcran::setLcdColours(bool on) {
    lcdColours_ = on;
    redraw();
}

int FrmEcran::zoom() const { return CboZoom->currentData().toInt(); }

QImage FrmEcran::picture() const {
    if (!screen_) return {};
    const link::ScreenSize size = link::visibleScreen(calc_);
    QImage image(size.width, size.height, QImage::Format_Indexed8);
    image.setColorTable({lcdColours_ ? kLcdLight : qRgb(255, 255, 255), lcdColours_ ? kLcdDark : qRgb(0, 0, 0)});
    for (int y = 0; y < size.height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < size.width; ++x) line[x] = screen_->dark(x, y) ? 1 : 0;
    }
    return image;
}

QImage FrmEcran::drawnPicture() const {
    const QImage image = picture();
    if (image.isNull()) return image;
    // Nearest pixel only: the calculator's pixels stay sharp squares.
    return image.scaled(image.size() * zoom(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

void FrmEcran::redraw() {
    const QImage drawn = drawnPicture();
    const bool shown = !drawn.isNull();
    if (shown) ImgEcran->setPixmap(QPixmap::fromImage(drawn));
    else ImgEcran->setText(QString::fromStdString(languageText("FrmEcran", "noScreen", 0, langue_())));
    // Room for the largest model at this size, so that the window keeps its size.
    ImgEcran->setMinimumSize(link::Screen::kWidth * zoom() + 4, link::Screen::kHeight * zoom() + 4);
    CmdCopier->setEnabled(shown);
    CmdEnregistrer->setEnabled(shown);
}

void FrmEcran::copy() {
    const QImage drawn = drawnPicture();
    if (!drawn.isNull()) QGuiApplication::clipboard()->setImage(drawn);
}

QString FrmEcran::savePng(const QString& path) const {
    QByteArray png;
    if (lcdColours_) {
        QImage image = picture();
        QBuffer buffer(&png);
        image.save(&buffer, "PNG");
    } else {
        const Bytes bytes = link::screenPng(*screen_, link::visibleScreen(calc_));
        png = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) return file.errorString();
    return {};
}

void FrmEcran::save() {
    if (!screen_) return;
    const QString path = askSavePath();
    if (path.isEmpty()) return;
    const QString reason = savePng(path);
    if (!reason.isEmpty())
        emit saveFailed(QString::fromStdString(message(MessageId::SaveFailed, {path.toStdString(), reason.toStdString()})));
}

}  // namespace korvane
