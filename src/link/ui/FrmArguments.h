#pragma once
// The arguments of a program or function run on the calculator: one line, the text
// between the parentheses of folder\name(...), prefilled with the last ones used.
#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {

class FrmArguments : public QDialog {
    Q_OBJECT
public:
    // `call` is what is run, "main\hi(a,b)", and `last` the arguments used last,
    // both in calculator codes; `langue` the interface language.
    FrmArguments(const std::string& call, const std::string& last, const std::string& langue, QWidget* parent);

    // The line as typed, in calculator codes.
    std::string arguments() const;

    QLabel* LblArguments = nullptr;
    QLineEdit* TxtArguments = nullptr;
    QPushButton* CmdExecuter = nullptr;
    QPushButton* CmdAnnuler = nullptr;
};

}  // namespace korvane
