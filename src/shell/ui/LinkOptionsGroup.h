#pragma once
// The options dialog's "Liaison" group: which calculator, through which cable and
// port, how long Send and run waits before taking the screen, and how the screen is
// drawn. It shows the settings file's Calc, Cable, Port, ScreenDelay and LcdColours
// and writes them back on store(). With the cable "TiEmu" chosen, a line says where
// the emulator's end of the cable must stand.
#include <QGroupBox>
#include <functional>
#include <optional>
#include <string_view>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace korvane {

class Settings;

class LinkOptionsGroup : public QGroupBox {
    Q_OBJECT
public:
    // `langue` gives the interface language of the moment, for the TiEmu line.
    LinkOptionsGroup(const Settings& settings, std::function<std::string()> langue, QWidget* parent);

    void store(Settings& settings) const;

    // The seconds Send and run waits before taking the screen (0: no screen), and
    // whether the screen is drawn in the LCD's own colours, as the settings file says.
    static constexpr int kDefaultScreenDelay = 2;
    static constexpr int kMaxScreenDelay = 60;
    static int screenDelay(const Settings& settings);
    // The value of `key` in the settings file, nothing when absent (lireIni would
    // give "1").
    static std::optional<std::string> storedValue(const Settings& settings, std::string_view key);
    static bool lcdColours(const Settings& settings);

    QLabel* LblCalc = nullptr;
    QComboBox* CboCalc = nullptr;
    QLabel* LblCable = nullptr;
    QComboBox* CboCable = nullptr;
    QLabel* LblPort = nullptr;
    QComboBox* CboPort = nullptr;
    QLabel* LblDelaiEcran = nullptr;
    QSpinBox* SpnDelaiEcran = nullptr;
    QCheckBox* ChkCouleursLcd = nullptr;
    // Where TiEmu's end stands: shown only while the cable "TiEmu" is chosen.
    QLabel* LblTiEmu = nullptr;

    // Shows or hides the TiEmu line for the cable and port chosen, in the language
    // of the moment.
    void showTiEmuPlace();

private:
    std::function<std::string()> langue_;
};

}  // namespace korvane
