#pragma once
// The about box: program name, version, description, authors and beta warning.
#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace korvane {

class FrmAbout1 : public QDialog {
    Q_OBJECT
public:
    FrmAbout1(const std::string& langue, QWidget* mainWindow);

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* LblAuteur = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
};

}  // namespace korvane
