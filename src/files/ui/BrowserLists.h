#pragma once
// The drive, directory and file lists of the two file browsers, and the part of the
// browsers that they share: the lists wired together, the settings "Dir", "Drive"
// and "File", loading and closing.
#include <QComboBox>
#include <QDialog>
#include <QListWidget>

#include "shell/IniStore.h"
#include "shell/Prompt.h"
#include "shell/ui/WindowPlacement.h"

class QLineEdit;

namespace korvane {

// The mounted volumes, "/" first; the drive is the volume's root path.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);
    QString drive() const;
    // Selects the volume holding `path`; false when there is none.
    bool setDrive(const QString& path);
    // Lists the volumes again, keeping the drive shown.
    void refresh();
signals:
    void driveChanged(const QString& drive);
};

// The directory and its ancestors, then its subdirectories; a double click (or
// Enter) on an entry makes it the directory.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);
    QString path() const { return path_; }
    // Shows `path`; an empty text, or the reason when the folder cannot be listed
    // (the list then stays as it was).
    QString setPath(const QString& path);
    void refresh();
signals:
    void pathChanged(const QString& path);
    void unreadable(const QString& path, const QString& reason);

protected:
    // Enter opens the folder and goes no further: it must not press the dialog's
    // default button as well.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString path_;
};

// The files of a directory whose names match the pattern.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    FileListBox(const QString& pattern, QWidget* parent = nullptr);
    QString path() const { return path_; }
    bool setPath(const QString& path);
    QString pattern() const { return pattern_; }
    // The selected file's name, or empty.
    QString fileName() const;
    void refresh();
signals:
    void focusReceived();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QString path_;
    QString pattern_;
};

// What both browsers share. A browser is loaded on its first use and after it was
// closed with its close box or Escape; in between it is only hidden, so the lists
// stay where the user left them.
class BrowserDialog : public QDialog {
    Q_OBJECT
public:
    BrowserDialog(Settings& settings, PromptService& prompt, QWidget* mainWindow);

    // Loading: the lists go to the stored "Dir", "Drive" and "File" when "Dir" is
    // stored, the dialog is centred and not confirmed.
    void loadIfNeeded();

    // The path box as a file system path.
    std::string path() const;

    bool confirmed = false;
    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;
    QLineEdit* TxtChemin = nullptr;

protected:
    // The folder is read afresh at each display: a file saved a moment ago is listed.
    void showEvent(QShowEvent* event) override;
    void writeSettings();
    // The close box and Escape unload the dialog: it is loaded again on next use.
    void markUnloaded() { loaded_ = false; }
    Settings& settings_;
    PromptService& prompt_;

private:
    void refreshLists();
    QWidget* mainWindow_;
    bool loaded_ = false;
};

}  // namespace korvane
