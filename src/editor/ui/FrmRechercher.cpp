#include "editor/ui/FrmRechercher.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/ui/EditorWidget.h"

namespace korvane {
namespace {

// Geometry in twips, 15 to a pixel.
QRect twips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

FrmRechercher::FrmRechercher(TextEditor& editor, PromptService& prompt, const std::string& langue, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), search_(editor, prompt) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Kept above the other windows; showing it does not take the focus by itself.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    const SearchCaptions& captions = searchCaptions(langue);
    setWindowTitle(fromUtf8(captions.title));

    LblRechercher = new QLabel(fromUtf8(captions.lblRechercher), this);
    LblRechercher->setGeometry(twips(120, 165, 1335, 255));
    TxtRechercher = new QLineEdit(this);
    TxtRechercher->setGeometry(twips(1560, 120, 3255, 330));
    LblRemplacer = new QLabel(fromUtf8(captions.lblRemplacer), this);
    LblRemplacer->setGeometry(twips(120, 645, 1335, 255));
    TxtRemplacer = new QLineEdit(this);
    // The labels name their fields for screen readers.
    LblRechercher->setBuddy(TxtRechercher);
    LblRemplacer->setBuddy(TxtRemplacer);
    TxtRemplacer->setGeometry(twips(1560, 600, 3255, 330));
    CmdSuivant = new QPushButton(fromUtf8(captions.cmdSuivant), this);
    CmdSuivant->setGeometry(twips(120, 1140, 1455, 375));
    CmdRemplacer = new QPushButton(fromUtf8(captions.cmdRemplacer), this);
    CmdRemplacer->setGeometry(twips(1740, 1140, 1455, 375));
    CmdAnnuler = new QPushButton(fromUtf8(captions.cmdAnnuler), this);
    CmdAnnuler->setGeometry(twips(3360, 1140, 1455, 375));
    setFixedSize(twips(0, 0, 4935, 1680).size());

    // The dialog has no default button: Return in a text field presses nothing.
    for (QPushButton* button : {CmdSuivant, CmdRemplacer, CmdAnnuler}) button->setAutoDefault(false);
    connect(CmdSuivant, &QPushButton::clicked, this, &FrmRechercher::CmdSuivant_Click);
    connect(CmdRemplacer, &QPushButton::clicked, this, &FrmRechercher::CmdRemplacer_Click);
    connect(CmdAnnuler, &QPushButton::clicked, this, &QDialog::close);
}

void FrmRechercher::CmdSuivant_Click() { search_.findNext(EditorWidget::fromDisplay(TxtRechercher->text())); }

void FrmRechercher::CmdRemplacer_Click() { search_.replace(EditorWidget::fromDisplay(TxtRemplacer->text())); }

}  // namespace korvane
