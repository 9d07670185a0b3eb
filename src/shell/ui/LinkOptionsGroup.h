#pragma once
// The options dialog's "Liaison" group: which calculator, through which cable and
// port. It shows the settings file's Calc, Cable and Port and writes them back on
// store().
#include <QGroupBox>
#include <string>

class QComboBox;
class QLabel;

namespace korvane {

class Settings;

class LinkOptionsGroup : public QGroupBox {
    Q_OBJECT
public:
    LinkOptionsGroup(const Settings& settings, QWidget* parent);

    void store(Settings& settings) const;

    QLabel* LblCalc = nullptr;
    QComboBox* CboCalc = nullptr;
    QLabel* LblCable = nullptr;
    QComboBox* CboCable = nullptr;
    QLabel* LblPort = nullptr;
    QComboBox* CboPort = nullptr;
};

}  // namespace korvane
