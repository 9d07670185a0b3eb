#include "shell/ui/LinkOptionsGroup.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

#include "link/LinkOptions.h"
#include "shell/IniStore.h"

namespace korvane {
namespace {

constexpr link::Calc kCalcs[] = {link::Calc::TI89, link::Calc::TI89Titanium, link::Calc::TI92Plus,
                                 link::Calc::Voyage200};
constexpr link::Cable kCables[] = {link::Cable::SilverLink, link::Cable::DirectLink, link::Cable::GrayLink,
                                   link::Cable::BlackLink,  link::Cable::Parallel,   link::Cable::TiEmu};

template <typename T>
QComboBox* choices(const char* name, const T& values, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const auto value : values)
        box->addItem(QString::fromUtf8(link::displayName(value)), QString::fromLatin1(link::nameOf(value)));
    return box;
}

}  // namespace

LinkOptionsGroup::LinkOptionsGroup(const Settings& settings, QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("FraLiaison"));
    auto* form = new QFormLayout(this);
    LblCalc = new QLabel(this);
    LblCalc->setObjectName(QStringLiteral("LblCalc"));
    CboCalc = choices("CboCalc", kCalcs, this);
    LblCable = new QLabel(this);
    LblCable->setObjectName(QStringLiteral("LblCable"));
    CboCable = choices("CboCable", kCables, this);
    LblPort = new QLabel(this);
    LblPort->setObjectName(QStringLiteral("LblPort"));
    CboPort = new QComboBox(this);
    CboPort->setObjectName(QStringLiteral("CboPort"));
    for (int port = 1; port <= 4; ++port) CboPort->addItem(QString::number(port), QString::number(port));
    for (auto [label, box] : {std::pair{LblCalc, CboCalc}, {LblCable, CboCable}, {LblPort, CboPort}}) {
        label->setBuddy(box);
        form->addRow(label, box);
    }

    // What the settings file says, read as the link reads it (defaults included).
    const link::LinkOptions stored = link::optionsFromSettingsFile(settings.cheminIni());
    CboCalc->setCurrentIndex(CboCalc->findData(QString::fromLatin1(link::nameOf(stored.calc))));
    CboCable->setCurrentIndex(CboCable->findData(QString::fromLatin1(link::nameOf(stored.cable))));
    CboPort->setCurrentIndex(stored.port - 1);
}

void LinkOptionsGroup::store(Settings& settings) const {
    settings.ecrireIni("Calc", CboCalc->currentData().toString().toStdString());
    settings.ecrireIni("Cable", CboCable->currentData().toString().toStdString());
    settings.ecrireIni("Port", CboPort->currentData().toString().toStdString());
}

}  // namespace korvane
