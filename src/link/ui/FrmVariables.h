#pragma once
// "Variables de la calculatrice": every variable the calculator holds, folder by
// folder, with its type in words, size and flags, listed afresh each time the window
// is shown or "Actualiser" is pressed. A program or function opens in the editor;
// any variable is received into a single-variable file of its own extension; a
// variable is deleted once the person said yes; files dropped on the window are sent,
// a group file member by member.
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "link/Link.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvane {

class LinkTransfer;

class FrmVariables : public QWidget {
    Q_OBJECT
public:
    // `langue` gives the interface language and `options` the link's options of
    // the moment.
    FrmVariables(std::function<std::string()> langue, std::function<link::LinkOptions()> options, QWidget* parent);

    // Lists the calculator's variables afresh.
    void refresh();
    // Shows a listing.
    void setVariables(const std::vector<link::CalcVariable>& variables);
    const std::vector<link::CalcVariable>& variables() const { return variables_; }
    // The variable of the selected row; nullptr for a folder row or none.
    const link::CalcVariable* selected() const;
    // Sends the variables of the files at `paths` (every member of a group file).
    void sendFiles(const QStringList& paths);

    QTreeWidget* LstVariables = nullptr;
    QPushButton* CmdActualiser = nullptr;
    QPushButton* CmdOuvrir = nullptr;
    QPushButton* CmdRecevoir = nullptr;
    QPushButton* CmdSupprimer = nullptr;
    QLabel* LblDepot = nullptr;
    QLabel* LblEtat = nullptr;  // what the window's link does, or how it ended
    LinkTransfer* transfer = nullptr;

    // Where a received variable goes, `suggested` its file name; "" when the person
    // cancels. A file dialog by default.
    std::function<QString(const QString& suggested)> askReceivePath;
    // Tells a failure; a message box by default.
    std::function<void(const QString& message)> tell;

signals:
    // "Ouvrir" on a program or function: the editor receives it.
    void openRequested(const link::CalcVariable& variable);

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString text(const char* key) const;
    void applyColumnTitles();
    void selectionChanged();
    void open();
    void receive();
    void remove();
    // Runs `operation` on a link of its own; `done` on success, else the failure told.
    void run(const QString& what, std::function<link::LinkStatus(link::Link&, link::TransferControl&)> operation,
             std::function<void()> done);

    std::function<std::string()> langue_;
    std::function<link::LinkOptions()> options_;
    std::vector<link::CalcVariable> variables_;
};

}  // namespace korvane
