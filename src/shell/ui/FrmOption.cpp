#include "shell/ui/FrmOption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "shell/Languages.h"
#include "shell/Layout.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/LanguageApply.h"
#include "shell/ui/LinkOptionsGroup.h"

namespace korvane {
namespace {

QRect twips(int left, int top, int width, int height) {
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel};
}

template <typename Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace

FrmOption::FrmOption(FrmP& mainWindow) : QDialog(&mainWindow), main_(mainWindow) {
    setObjectName(QStringLiteral("FrmOption"));
    setModal(true);
    setFixedSize(twips(0, 0, 4680, 3090).size());
    LblLangage = named(new QLabel(this), "LblLangage");
    LblLangage->setGeometry(twips(120, 120, 975, 255));
    CboLangage = named(new QComboBox(this), "CboLangage");
    CboLangage->setGeometry(twips(1080, 120, 1455, 315));
    CboLangage->addItems({QStringLiteral("Français"), QStringLiteral("Anglais")});
    LblParam = named(new QLabel(this), "LblParam");
    LblParam->setGeometry(twips(120, 840, 3975, 255));
    Opt1[0] = named(new QRadioButton(this), "Opt1");
    Opt1[0]->setGeometry(twips(480, 1200, 1455, 255));
    Opt1[1] = named(new QRadioButton(this), "Opt1");
    Opt1[1]->setGeometry(twips(480, 1560, 1455, 255));
    Check1 = named(new QCheckBox(this), "Check1");
    Check1->setGeometry(twips(120, 2040, 3855, 255));
    CmdAppliquer = named(new QPushButton(this), "CmdAppliquer");
    CmdAppliquer->setGeometry(twips(360, 2520, 1815, 375));
    CmdAppliquer->setDefault(true);
    CmdFermer = named(new QPushButton(this), "CmdFermer");
    CmdFermer->setGeometry(twips(2400, 2520, 1695, 375));

    // Help while writing: the -> >= <= /= != replacement, on a row of its own that
    // pushes the buttons one row down.
    constexpr int kHelpRow = 360;
    setFixedSize(twips(0, 0, 4680, 3090 + kHelpRow).size());
    for (QPushButton* button : {CmdAppliquer, CmdFermer}) button->move(button->x(), button->y() + kHelpRow / kTwipsPerPixel);
    ChkDigraphes = named(new QCheckBox(this), "ChkDigraphes");
    ChkDigraphes->setGeometry(twips(120, 2400, 4455, 255));
    ChkDigraphes->setChecked(main_.digraphsEnabled());
    connect(ChkDigraphes, &QCheckBox::toggled, this, [this](bool on) { main_.setDigraphsEnabled(on); });

    // The link with the calculator: a group of its own between that row and the buttons.
    constexpr int kLinkRows = 3360;
    setFixedSize(twips(0, 0, 4680, 3090 + kHelpRow + kLinkRows).size());
    for (QPushButton* button : {CmdAppliquer, CmdFermer}) button->move(button->x(), button->y() + kLinkRows / kTwipsPerPixel);
    FraLiaison = new LinkOptionsGroup(main_.settings(), [this] { return main_.Langue; }, this);
    FraLiaison->setGeometry(twips(120, 2760, 4455, 3240));
    applyLanguage(*this, "FrmOption", main_.Langue);

    // The load: placed against the main window, the kind always offered as
    // "Programme", and the stored language selected again, which re-applies it.
    // A language other than "En" is French, as at start-up.
    const QRect main = main_.frameGeometry();
    move(main.left() + 500 / kTwipsPerPixel, main.top() + 2000 / kTwipsPerPixel);
    Opt1[0]->setChecked(true);
    Check1->setChecked(main_.OpenChxPrgmFunc);
    CboLangage->setCurrentIndex(isEnglish(main_.Langue) ? 1 : 0);
    CboLangage_Click();

    connect(CboLangage, &QComboBox::currentIndexChanged, this, &FrmOption::CboLangage_Click);
    connect(Check1, &QCheckBox::clicked, this, [this] { main_.OpenChxPrgmFunc = Check1->isChecked(); });
    connect(CmdAppliquer, &QPushButton::clicked, this, &FrmOption::CmdAppliquer_Click);
    connect(CmdFermer, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmOption::CboLangage_Click() {
    if (CboLangage->currentIndex() == 0) main_.appliquerFr();
    else main_.appliquerEn();
    FraLiaison->showTiEmuPlace();
}

void FrmOption::CmdAppliquer_Click() {
    main_.PrgmFunc = Opt1[0]->isChecked();
    Settings settings(main_.settings().cheminIni());
    FraLiaison->store(settings);
    accept();
}

}  // namespace korvane
