#include "link/ui/FrmArguments.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/ui/EditorWidget.h"
#include "shell/Languages.h"
#include "shell/ui/LanguageApply.h"

namespace korvane {

FrmArguments::FrmArguments(const std::string& call, const std::string& last, const std::string& langue, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmArguments"));
    setModal(true);
    LblArguments = new QLabel(this);
    LblArguments->setObjectName(QStringLiteral("LblArguments"));
    TxtArguments = new QLineEdit(this);
    TxtArguments->setObjectName(QStringLiteral("TxtArguments"));
    LblArguments->setBuddy(TxtArguments);
    CmdExecuter = new QPushButton(this);
    CmdExecuter->setObjectName(QStringLiteral("CmdExecuter"));
    CmdExecuter->setDefault(true);
    CmdAnnuler = new QPushButton(this);
    CmdAnnuler->setObjectName(QStringLiteral("CmdAnnuler"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdExecuter);
    buttons->addWidget(CmdAnnuler);
    auto* column = new QVBoxLayout(this);
    column->addWidget(LblArguments);
    column->addWidget(TxtArguments);
    column->addLayout(buttons);

    applyLanguage(*this, "FrmArguments", langue);
    // Not a row of its own in the table: the caption holds the call.
    LblArguments->setText(
        QString::fromStdString(languageText("FrmArguments", "argumentsOf", 0, langue)).arg(EditorWidget::toDisplay(call)));
    TxtArguments->setText(EditorWidget::toDisplay(last));
    TxtArguments->selectAll();
    TxtArguments->setMinimumWidth(TxtArguments->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40);

    connect(CmdExecuter, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

std::string FrmArguments::arguments() const { return EditorWidget::fromDisplay(TxtArguments->text()); }

}  // namespace korvane
