#pragma once
// The question "which program or function?" asked when an opened file holds
// several: a group file, or a file of the link software holding a whole folder.
#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace korvane {

struct TableEntry;

class FrmChoixVariable : public QDialog {
    Q_OBJECT
public:
    // `language` is the interface's: "En" for English, French otherwise.
    FrmChoixVariable(const std::vector<const TableEntry*>& programs, const std::string& language, QWidget* mainWindow);

    QListWidget* LstVariables = nullptr;
    QPushButton* CmdOuvrir = nullptr;
    QPushButton* CmdAnnuler = nullptr;

    // The chosen entry's "folder\name" (calculator codes), once accepted.
    std::string chosen;

private:
    void take();

    std::vector<std::string> names_;
};

}  // namespace korvane
