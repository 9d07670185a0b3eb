#include "files/ui/FrmChoixVariable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/CharTable.h"
#include "files/VariableTable.h"
#include "shell/Languages.h"
#include "shell/ui/WindowPlacement.h"

namespace korvane {
namespace {

QString calcText(const std::string& calc) { return QString::fromStdString(calcToUtf8(calc)); }

QString text(const std::string& key, const std::string& language) {
    return QString::fromStdString(languageText("FrmChoixVariable", key, 0, language));
}

std::vector<FrmChoixVariable::Choice> fileChoices(const std::vector<const TableEntry*>& programs,
                                                  const std::string& language) {
    std::vector<FrmChoixVariable::Choice> rows;
    for (const TableEntry* e : programs) {
        const QString form = text(isTextForm(e->data) ? "formText" : "formTokenized", language);
        rows.push_back({e->qualifiedName(),
                        calcText(e->qualifiedName()) + QStringLiteral("    ") +
                            FrmChoixVariable::describe(e->type == kFunctionTypeId, e->data.size() + 2, language, form)});
    }
    return rows;
}

}  // namespace

QString FrmChoixVariable::describe(bool function, std::size_t size, const std::string& language, const QString& form) {
    const QString kind = text(function ? "kindFunction" : "kindProgram", language);
    return kind + QStringLiteral(", ") + (form.isEmpty() ? QString() : form + QStringLiteral(", ")) +
           text("bytes", language).arg(size);
}

FrmChoixVariable::FrmChoixVariable(const std::vector<const TableEntry*>& programs, const std::string& language,
                                   QWidget* mainWindow)
    : FrmChoixVariable(fileChoices(programs, language), "file", language, mainWindow) {}

FrmChoixVariable::FrmChoixVariable(const std::vector<Choice>& choices, const std::string& context,
                                   const std::string& language, QWidget* mainWindow)
    : QDialog(mainWindow) {
    setObjectName(QStringLiteral("FrmChoixVariable"));
    setWindowTitle(QStringLiteral("Korvane"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(text(context + "Question", language), this);
    question->setWordWrap(true);
    layout->addWidget(question);
    LstVariables = new QListWidget(this);
    LstVariables->setObjectName(QStringLiteral("LstVariables"));
    LstVariables->setAccessibleName(text(context + "List", language));
    question->setBuddy(LstVariables);
    for (const Choice& c : choices) {
        LstVariables->addItem(c.shown);
        names_.push_back(c.qualifiedName);
    }
    LstVariables->setCurrentRow(0);
    layout->addWidget(LstVariables);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    CmdOuvrir = new QPushButton(text(context + "Take", language), this);
    CmdOuvrir->setObjectName(QStringLiteral("CmdOuvrir"));
    CmdOuvrir->setDefault(true);
    CmdAnnuler = new QPushButton(text("CmdAnnuler", language), this);
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
