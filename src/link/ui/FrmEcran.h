#pragma once
// "Écran de la calculatrice": a tool window showing the last screen taken from the
// calculator, as much of it as the model shows, drawn 2 or 3 times as large without
// smoothing, black on white or in the LCD's own colours. "Actualiser" (F6) asks for
// it again; "Copier" puts the picture on the clipboard; "Enregistrer..." writes a PNG.
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "link/CalcScreen.h"
#include "link/LinkOptions.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace korvane {

class FrmEcran : public QWidget {
    Q_OBJECT
public:
    // `langue` gives the interface language of the moment.
    FrmEcran(std::function<std::string()> langue, QWidget* parent);

    // Shows `screen` as `calc` shows it.
    void setScreen(const link::Screen& screen, link::Calc calc);
    bool hasScreen() const { return screen_.has_value(); }
    void setLcdColours(bool on);
    bool lcdColours() const { return lcdColours_; }
    // 2 or 3.
    int zoom() const;

    // The visible screen, one image pixel per calculator pixel; null without a screen.
    QImage picture() const;
    // The picture as drawn: each calculator pixel a zoom x zoom square.
    QImage drawnPicture() const;

    // Writes the picture as a PNG at `path` (1-bit black on white, or the LCD's
    // colours), the old file kept until the new one is whole. "" when written, else
    // the reason.
    QString savePng(const QString& path) const;

    // The LCD's colours: its background and its dark pixels.
    static constexpr QRgb kLcdLight = qRgb(0xA6, 0xB2, 0x8C);
    static constexpr QRgb kLcdDark = qRgb(0x1F, 0x26, 0x1A);

    QLabel* ImgEcran = nullptr;
    QLabel* LblZoom = nullptr;
    QComboBox* CboZoom = nullptr;
    QPushButton* CmdActualiser = nullptr;
    QPushButton* CmdCopier = nullptr;
    QPushButton* CmdEnregistrer = nullptr;

    // Asks where to write the PNG; "" when the person cancels. A file dialog by default.
    std::function<QString()> askSavePath;

signals:
    // "Actualiser" or F6: the screen is wanted again.
    void refreshRequested();
    // Writing the PNG failed, with the message to show.
    void saveFailed(const QString& message);

private:
    void redraw();
    void copy();
    void save();

    std::function<std::string()> langue_;
    std::optional<link::Screen> screen_;
    link::Calc calc_ = link::Calc::TI89;
    bool lcdColours_ = false;
};

}  // namespace korvane
