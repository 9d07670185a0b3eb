#include "shell/ui/LinkOptionsGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <charconv>

#include "link/LinkOptions.h"
#include "shell/IniStore.h"
#include "shell/Languages.h"

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

// libticables' virtual cable joins port 1 to port 2 and port 3 to port 4.
int otherEnd(int port) { return port % 2 == 1 ? port + 1 : port - 1; }

}  // namespace

std::optional<std::string> LinkOptionsGroup::storedValue(const Settings& settings, std::string_view key) {
    QFile file(QString::fromStdString(settings.cheminIni()));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray content = file.readAll();
    return findIniValue(std::string_view(content.constData(), static_cast<std::size_t>(content.size())), key);
}

int LinkOptionsGroup::screenDelay(const Settings& settings) {
    const std::string text = storedValue(settings, "ScreenDelay").value_or("");
    int seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || seconds < 0 ||
        seconds > kMaxScreenDelay)
        return kDefaultScreenDelay;
    return seconds;
}

bool LinkOptionsGroup::lcdColours(const Settings& settings) { return storedValue(settings, "LcdColours") == "Vrai"; }

LinkOptionsGroup::LinkOptionsGroup(const Settings& settings, std::function<std::string()> langue, QWidget* parent)
    : QGroupBox(parent), langue_(std::move(langue)) {
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
    LblDelaiEcran = new QLabel(this);
    LblDelaiEcran->setObjectName(QStringLiteral("LblDelaiEcran"));
    SpnDelaiEcran = new QSpinBox(this);
    SpnDelaiEcran->setObjectName(QStringLiteral("SpnDelaiEcran"));
    SpnDelaiEcran->setRange(0, kMaxScreenDelay);
    SpnDelaiEcran->setSuffix(QStringLiteral(" s"));
    for (auto [label, box] : {std::pair<QLabel*, QWidget*>{LblCalc, CboCalc},
                              {LblCable, CboCable},
                              {LblPort, CboPort},
                              {LblDelaiEcran, SpnDelaiEcran}}) {
        label->setBuddy(box);
        form->addRow(label, box);
    }
    ChkCouleursLcd = new QCheckBox(this);
    ChkCouleursLcd->setObjectName(QStringLiteral("ChkCouleursLcd"));
    form->addRow(ChkCouleursLcd);
    LblTiEmu = new QLabel(this);
    LblTiEmu->setObjectName(QStringLiteral("LblTiEmu"));
    LblTiEmu->setWordWrap(true);
    form->addRow(LblTiEmu);

    // What the settings file says, read as the link reads it (defaults included).
    const link::LinkOptions stored = link::optionsFromSettingsFile(settings.cheminIni());
    CboCalc->setCurrentIndex(CboCalc->findData(QString::fromLatin1(link::nameOf(stored.calc))));
    CboCable->setCurrentIndex(CboCable->findData(QString::fromLatin1(link::nameOf(stored.cable))));
    CboPort->setCurrentIndex(stored.port - 1);
    SpnDelaiEcran->setValue(screenDelay(settings));
    ChkCouleursLcd->setChecked(lcdColours(settings));
    showTiEmuPlace();
    connect(CboCable, &QComboBox::currentIndexChanged, this, &LinkOptionsGroup::showTiEmuPlace);
    connect(CboPort, &QComboBox::currentIndexChanged, this, &LinkOptionsGroup::showTiEmuPlace);
}

void LinkOptionsGroup::showTiEmuPlace() {
    const bool tiemu = CboCable->currentData().toString() == QLatin1String(link::nameOf(link::Cable::TiEmu));
    const int port = CboPort->currentIndex() + 1;
    LblTiEmu->setText(QString::fromStdString(languageText("FrmOption", "tiemuPlace", 0, langue_()))
                          .arg(otherEnd(port))
                          .arg(port));
    LblTiEmu->setVisible(tiemu);
}

void LinkOptionsGroup::store(Settings& settings) const {
    settings.ecrireIni("Calc", CboCalc->currentData().toString().toStdString());
    settings.ecrireIni("Cable", CboCable->currentData().toString().toStdString());
    settings.ecrireIni("Port", CboPort->currentData().toString().toStdString());
    settings.ecrireIni("ScreenDelay", std::to_string(SpnDelaiEcran->value()));
    settings.sauverOption("LcdColours", ChkCouleursLcd->isChecked());
}

}  // namespace korvane
