#include "files/ui/FrmChoixVariable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/CharTable.h"
#include "files/VariableTable.h"
#include "shell/ui/WindowPlacement.h"

namespace korvane {
namespace {

QString calcText(const std::string& calc) { return QString::fromStdString(calcToUtf8(calc)); }

// One row: the name, then what it is, in the interface's language.
QString rowText(const TableEntry& e, bool english) {
    const bool function = e.type == kFunctionTypeId;
    const bool text = isTextForm(e.data);
    const QString kind = english ? (function ? QStringLiteral("function") : QStringLiteral("program"))
                                 : (function ? QStringLiteral("fonction") : QStringLiteral("programme"));
    const QString form = english ? (text ? QStringLiteral("text") : QStringLiteral("tokenized"))
                                 : (text ? QStringLiteral("texte") : QStringLiteral("tokénisé"));
    const QString size = english ? QStringLiteral("%1 bytes") : QStringLiteral("%1 octets");
    return calcText(e.qualifiedName()) + QStringLiteral("    ") + kind + QStringLiteral(", ") + form +
           QStringLiteral(", ") + size.arg(e.data.size() + 2);
}

}  // namespace

FrmChoixVariable::FrmChoixVariable(const std::vector<const TableEntry*>& programs, const std::string& language,
                                   QWidget* mainWindow)
    : QDialog(mainWindow) {
    const bool english = language == "En";
    setObjectName(QStringLiteral("FrmChoixVariable"));
    setWindowTitle(QStringLiteral("Korvane"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(english ? QStringLiteral("This file holds several programs and functions. Which one do you want to open?")
                                        : QStringLiteral("Ce fichier contient plusieurs programmes et fonctions. Lequel voulez-vous ouvrir ?"),
                                this);
    question->setWordWrap(true);
    layout->addWidget(question);
    LstVariables = new QListWidget(this);
    LstVariables->setObjectName(QStringLiteral("LstVariables"));
    LstVariables->setAccessibleName(english ? QStringLiteral("Programs and functions of the file")
                                            : QStringLiteral("Programmes et fonctions du fichier"));
    question->setBuddy(LstVariables);
    for (const TableEntry* e : programs) {
        LstVariables->addItem(rowText(*e, english));
        names_.push_back(e->qualifiedName());
    }
    LstVariables->setCurrentRow(0);
    layout->addWidget(LstVariables);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    CmdOuvrir = new QPushButton(english ? QStringLiteral("Open") : QStringLiteral("Ouvrir"), this);
    CmdOuvrir->setObjectName(QStringLiteral("CmdOuvrir"));
    CmdOuvrir->setDefault(true);
    CmdAnnuler = new QPushButton(english ? QStringLiteral("Cancel") : QStringLiteral("Annuler"), this);
    CmdAnnuler->setObjectName(QStringLiteral("CmdAnnuler"));
    buttons->addWidget(CmdOuvrir);
    buttons->addWidget(CmdAnnuler);
    layout->addLayout(buttons);
    resize(460, 340);

    connect(CmdOuvrir, &QPushButton::clicked, this, &FrmChoixVariable::take);
    connect(CmdAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(LstVariables, &QListWidget::itemActivated, this, &FrmChoixVariable::take);
    centreOver(*this, mainWindow);
}

void FrmChoixVariable::take() {
    const int row = LstVariables->currentRow();
    if (row < 0 || row >= static_cast<int>(names_.size())) return;
    chosen = names_[static_cast<size_t>(row)];
    accept();
}

}  // namespace korvane
