#pragma once
// The print dialog: prints the editor's plain text, protected lines included, on the
// default printer in the editor's font at the chosen size. With no printer
// installed it writes the print to a PDF file that the user names.
#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace korvane {

class PromptService;

class FrmImprime : public QDialog {
    Q_OBJECT
public:
    FrmImprime(std::function<std::string()> programText, std::function<std::string()> langue, PromptService& prompt,
               QWidget* mainWindow);

    QLabel* LblImprimer = nullptr;
    QLabel* LblLibelle = nullptr;
    QLabel* LblTaille = nullptr;
    QComboBox* CboTaille = nullptr;
    QLabel* LblImpression = nullptr;
    QComboBox* CboImprimer = nullptr;
    QPushButton* CmdImprimer = nullptr;
    QPushButton* CmdAnnuler = nullptr;

    // Whether a printer was installed when the dialog loaded; without one the print
    // goes to a PDF file.
    bool hasPrinter() const { return hasPrinter_; }

    // Draws `text` (calculator codes) on `device`, page after page, at `pointSize`;
    // false with `error` set when the device cannot be painted on.
    static bool printText(QPagedPaintDevice& device, const std::string& text, double pointSize, QString& error);

private:
    void CmdImprimer_Click();
    QString askPdfPath();
    double selectedSize() const;
    bool english() const;

    std::function<std::string()> programText_;
    std::function<std::string()> langue_;
    PromptService& prompt_;
    bool hasPrinter_ = false;
};

}  // namespace korvane
