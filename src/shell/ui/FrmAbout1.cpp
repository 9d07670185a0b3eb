#include "shell/ui/FrmAbout1.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "shell/Languages.h"
#include "shell/Layout.h"
#include "shell/ui/LanguageApply.h"
#include "shell/ui/WindowPlacement.h"

namespace korvane {
namespace {

QLabel* namedLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

}  // namespace

FrmAbout1::FrmAbout1(const std::string& langue, QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName(QStringLiteral("FrmAbout1"));
    setModal(true);
    setFixedSize(5730 / kTwipsPerPixel, 3765 / kTwipsPerPixel);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    heading->addWidget(icon);
    auto* names = new QVBoxLayout;
    lblTitle = namedLabel(this, "lblTitle");
    lblTitle->setText(QStringLiteral("Korvane"));
    QFont big = lblTitle->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    lblTitle->setFont(big);
    lblVersion = namedLabel(this, "lblVersion");
    lblVersion->setText(QString::fromStdString(versionText()));
    names->addWidget(lblTitle);
    names->addWidget(lblVersion);
    heading->addLayout(names, 1);
    layout->addLayout(heading);
    for (auto [label, name] : {std::pair{&lblDescription, "lblDescription"}, std::pair{&LblAuteur, "LblAuteur"},
                               std::pair{&Label1, "Label1"}, std::pair{&lblDisclaimer, "lblDisclaimer"}}) {
        *label = namedLabel(this, name);
        layout->addWidget(*label);
    }
    layout->addStretch();
    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    applyLanguage(*this, "FrmAbout1", langue);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    centreOver(*this, mainWindow);
}

}  // namespace korvane
