#pragma once
// The save question: save or not, tokenized or text form, and, before a command
// that replaces the Document, a way back. It is hidden, not destroyed, after an
// answer.
#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace korvane {

class FrmSaveTok : public QDialog {
    Q_OBJECT
public:
    explicit FrmSaveTok(QWidget* mainWindow);

    enum class Answer { Save, DontSave, Cancel };

    // Loading, on first use and after the close box or Escape: centred over the
    // main window.
    void loadIfNeeded();
    // Prepares the question: the mode option on the form of the Document's file,
    // and "Annuler" only when the question stands before another command.
    void prepare(bool tokenizedFile, bool withCancel);
    // The window title names what the question is about: the file, else the program.
    void setSubject(const QString& subject);

    // Texts of the two languages.
    void appliquerFr();
    void appliquerEn();

    bool tokenize = true;
    Answer answer = Answer::Cancel;

    QLabel* Label1 = nullptr;
    QRadioButton* Option1[2] = {nullptr, nullptr};
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdStop = nullptr;
    QPushButton* CmdAnnuler = nullptr;

public slots:
    // The close box and Escape cancel the question and the command behind it.
    void reject() override;

protected:
    // Each display starts on "Oui", whatever was clicked the last time.
    void showEvent(QShowEvent* event) override;

private:
    void finish(Answer given);
    // Alt+O/N/A in French, Alt+Y/N/C in English: the first letter of each button.
    void giveMnemonics();
    QWidget* mainWindow_;
    bool loaded_ = false;
};

}  // namespace korvane
