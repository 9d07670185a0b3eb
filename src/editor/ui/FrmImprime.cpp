#include "editor/ui/FrmImprime.h"

#include <cmath>

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "editor/Printing.h"
#include "editor/ui/EditorWidget.h"
#include "shell/Languages.h"
#include "shell/Prompt.h"
#include "shell/ui/LanguageApply.h"
#include "shell/ui/WindowPlacement.h"

namespace korvane {
namespace {

constexpr double kTwipsPerInch = 1440.0;

template <typename Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace

FrmImprime::FrmImprime(std::function<std::string()> programText, std::function<std::string()> langue,
                       PromptService& prompt, QWidget* mainWindow)
    : QDialog(mainWindow), programText_(std::move(programText)), langue_(std::move(langue)), prompt_(prompt) {
    setObjectName(QStringLiteral("FrmImprime"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* grid = new QGridLayout(this);
    LblImprimer = named(new QLabel(this), "LblImprimer");
    LblLibelle = named(new QLabel(this), "LblLibelle");
    LblTaille = named(new QLabel(this), "LblTaille");
    CboTaille = named(new QComboBox(this), "CboTaille");
    for (const std::string& size : kPrintSizes) CboTaille->addItem(QString::fromStdString(size));
    CboTaille->setCurrentText(QString::number(kDefaultPrintSize));
    CboTaille->setToolTip(QStringLiteral("Changer la taille du texte"));
    LblImpression = named(new QLabel(this), "LblImpression");
    CboImprimer = named(new QComboBox(this), "CboImprimer");
    CboImprimer->addItems({QStringLiteral("Noir et Blanc"), QStringLiteral("Couleur")});
    CmdImprimer = named(new QPushButton(this), "CmdImprimer");
    CmdImprimer->setDefault(true);
    CmdAnnuler = named(new QPushButton(this), "CmdAnnuler");
    grid->addWidget(LblImprimer, 0, 0);
    grid->addWidget(LblLibelle, 0, 1, 1, 2);
    grid->addWidget(LblTaille, 1, 0);
    grid->addWidget(CboTaille, 1, 1);
    grid->addWidget(LblImpression, 2, 0);
    grid->addWidget(CboImprimer, 2, 1);
    grid->addWidget(CmdImprimer, 3, 1);
    grid->addWidget(CmdAnnuler, 3, 2);

    hasPrinter_ = !QPrinterInfo::availablePrinters().isEmpty();
    LblLibelle->setText(hasPrinter_ ? QPrinterInfo::defaultPrinterName() : QStringLiteral("PDF"));
    applyLanguage(*this, "FrmImprime", langue_());
    connect(CmdImprimer, &QPushButton::clicked, this, &FrmImprime::CmdImprimer_Click);
    connect(CmdAnnuler, &QPushButton::clicked, this, &QDialog::close);
    centreOver(*this, mainWindow);
}

bool FrmImprime::english() const { return isEnglish(langue_()); }

double FrmImprime::selectedSize() const {
    bool ok = false;
    const double size = CboTaille->currentText().toDouble(&ok);
    return ok && size > 0 ? size : kDefaultPrintSize;
}

bool FrmImprime::printText(QPagedPaintDevice& device, const std::string& text, double pointSize, QString& error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = QStringLiteral("the printer refused the job");
        return false;
    }
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Symbola")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const double left = kPrintLeftTwips * device.logicalDpiX() / kTwipsPerInch;
    const double top = kPrintTopTwips * device.logicalDpiY() / kTwipsPerInch;
    const int lineHeight = static_cast<int>(std::ceil(metrics.lineSpacing()));
    const std::vector<std::string> lines = printedLines(text);
    const auto pages = paginate(static_cast<int>(lines.size()), lineHeight, static_cast<int>(top), device.height());
    for (size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage()) {
            error = QStringLiteral("a new page could not be started");
            return false;
        }
        for (int i = 0; i < pages[p].count; ++i) {
            const double baseline = top + i * lineHeight + metrics.ascent();
            painter.drawText(QPointF(left, baseline), EditorWidget::toReadable(lines[pages[p].first + i]));
        }
    }
    if (!painter.end()) {
        error = QStringLiteral("the job could not be finished");
        return false;
    }
    return true;
}

QString FrmImprime::askPdfPath() {
    QFileDialog dialog(this, english() ? QStringLiteral("Print to a PDF file") : QStringLiteral("Imprimer dans un fichier PDF"));
    dialog.setObjectName(QStringLiteral("pdfPath"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

void FrmImprime::CmdImprimer_Click() {
    QPrinter printer(hasPrinter_ ? QPrinterInfo::defaultPrinter() : QPrinterInfo(), QPrinter::HighResolution);
    QString pdf;
    if (!hasPrinter_) {
        pdf = askPdfPath();
        if (pdf.isEmpty()) return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    }
    QString error;
    const bool printed = printText(printer, programText_(), selectedSize(), error);
    if (printed && !pdf.isEmpty() && QFileInfo(pdf).size() == 0) error = QStringLiteral("nothing was written");
    if (!printed || !error.isEmpty()) {
        const QString where = pdf.isEmpty() ? printer.printerName() : pdf;
        prompt_.tell((english() ? QStringLiteral("Printing failed (%1): %2") : QStringLiteral("Impression impossible (%1) : %2"))
                         .arg(where, error)
                         .toStdString(),
                     PromptIcon::Error);
        return;
    }
    if (!pdf.isEmpty())
        prompt_.tell((english() ? QStringLiteral("The print was written to the PDF file %1")
                                : QStringLiteral("L'impression a été écrite dans le fichier PDF %1"))
                         .arg(pdf)
                         .toStdString(),
                     PromptIcon::Information);
}

}  // namespace korvane
