#include "editor/ui/FrmRechercher.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/ui/EditorWidget.h"
#include "shell/ui/LanguageApply.h"

namespace korvane {
namespace {

// Geometry in twips, 15 to a pixel.
QRect twips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

FrmRechercher::FrmRechercher(TextEditor& editor, PromptService& prompt, std::function<std::string()> langue,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), search_(editor, prompt), langue_(std::move(langue)) {
    setObjectName(QStringLiteral("FrmRechercher"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Kept above the other windows; showing it does not take the focus by itself.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);

    LblRechercher = new QLabel(this);
    LblRechercher->setGeometry(twips(120, 165, 1335, 255));
    TxtRechercher = new QLineEdit(this);
    TxtRechercher->setGeometry(twips(1560, 120, 3255, 330));
    LblRemplacer = new QLabel(this);
    LblRemplacer->setGeometry(twips(120, 645, 1335, 255));
    TxtRemplacer = new QLineEdit(this);
    // The labels name their fields for screen readers.
    LblRechercher->setBuddy(TxtRechercher);
    LblRemplacer->setBuddy(TxtRemplacer);
    TxtRemplacer->setGeometry(twips(1560, 600, 3255, 330));
    CmdSuivant = new QPushButton(this);
    CmdSuivant->setGeometry(twips(120, 1140, 1455, 375));
    CmdRemplacer = new QPushButton(this);
    CmdRemplacer->setGeometry(twips(1740, 1140, 1455, 375));
    CmdAnnuler = new QPushButton(this);
    CmdAnnuler->setGeometry(twips(3360, 1140, 1455, 375));
    CmdRemplacerTout = new QPushButton(this);
    CmdRemplacerTout->setGeometry(twips(1740, 1620, 1455, 375));
    setFixedSize(twips(0, 0, 4935, 2160).size());
    applyCaptions();

    // The dialog has no default button: Return in a text field presses nothing.
    for (QPushButton* button : {CmdSuivant, CmdRemplacer, CmdAnnuler, CmdRemplacerTout}) button->setAutoDefault(false);
    connect(CmdSuivant, &QPushButton::clicked, this, &FrmRechercher::CmdSuivant_Click);
    connect(CmdRemplacer, &QPushButton::clicked, this, &FrmRechercher::CmdRemplacer_Click);
    connect(CmdRemplacerTout, &QPushButton::clicked, this, &FrmRechercher::CmdRemplacerTout_Click);
    connect(CmdAnnuler, &QPushButton::clicked, this, &QDialog::close);
}

void FrmRechercher::applyCaptions() {
    const std::string langue = langue_ ? langue_() : std::string();
    const SearchCaptions& captions = searchCaptions(langue);
    search_.setLangue(langue);
    setWindowTitle(fromUtf8(captions.title));
    LblRechercher->setText(fromUtf8(captions.lblRechercher));
    LblRemplacer->setText(fromUtf8(captions.lblRemplacer));
    CmdSuivant->setText(fromUtf8(captions.cmdSuivant));
    CmdRemplacer->setText(fromUtf8(captions.cmdRemplacer));
    CmdAnnuler->setText(fromUtf8(captions.cmdAnnuler));
    CmdRemplacerTout->setText(fromUtf8(captions.cmdRemplacerTout));
    fitCaptions(*this);
}

void FrmRechercher::CmdSuivant_Click() { search_.findNext(EditorWidget::fromDisplay(TxtRechercher->text())); }

void FrmRechercher::CmdRemplacer_Click() {
    search_.replace(EditorWidget::fromDisplay(TxtRechercher->text()), EditorWidget::fromDisplay(TxtRemplacer->text()));
}

void FrmRechercher::CmdRemplacerTout_Click() {
    search_.replaceAll(EditorWidget::fromDisplay(TxtRechercher->text()), EditorWidget::fromDisplay(TxtRemplacer->text()));
}

}  // namespace korvane
