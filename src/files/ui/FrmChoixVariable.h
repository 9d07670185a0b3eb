#pragma once
// The question "which program or function?": asked when an opened file holds
// several (a group file, or a link software file holding a whole folder), and when
// receiving from the calculator.
#include <QDialog>
#include <QString>
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
    // One row: what `chosen` gives, and what the list shows.
    struct Choice {
        std::string qualifiedName;  // "folder\name", calculator codes
        QString shown;
    };

    // The programs and functions of a file; `language` is the interface's ("En"
    // for English, French otherwise).
    FrmChoixVariable(const std::vector<const TableEntry*>& programs, const std::string& language, QWidget* mainWindow);
    // Any list of variables; `context` names the texts' rows in the language table
    // ("file" or "calculator").
    FrmChoixVariable(const std::vector<Choice>& choices, const std::string& context, const std::string& language,
                     QWidget* mainWindow);

    // A row's words after the name in `language`: "programme, 120 octets", or with
    // the form, "programme, texte, 120 octets".
    static QString describe(bool function, std::size_t size, const std::string& language, const QString& form = {});

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
