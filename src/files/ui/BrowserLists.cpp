#include "files/ui/BrowserLists.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStorageInfo>

#include "files/FileFlows.h"

namespace korvane {

// ---- Drive list ----

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    refresh();
    connect(this, &QComboBox::activated, this, [this](int index) { emit driveChanged(itemText(index)); });
}

QString DriveListBox::drive() const { return currentText(); }

void DriveListBox::refresh() {
    const QString shown = drive();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && volume.rootPath() != "/") roots << volume.rootPath();
    roots.sort();
    roots.removeDuplicates();
    roots.prepend(QStringLiteral("/"));
    const QSignalBlocker quiet(this);
    clear();
    addItems(roots);
    const int index = findText(shown);
    setCurrentIndex(index >= 0 ? index : 0);
}

bool DriveListBox::setDrive(const QString& path) {
    const QStorageInfo volume(path);
    const QString root = volume.isValid() ? volume.rootPath() : path;
    int index = findText(root);
    if (index < 0) {
        refresh();
        index = findText(root);
    }
    if (index < 0) return false;
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
    return true;
}

// ---- Directory list ----

namespace {

constexpr int kPathRole = Qt::UserRole;

QString indent(int depth) { return QString(depth * 2, QLatin1Char(' ')); }

}  // namespace

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString target = item->data(kPathRole).toString();
        const QString reason = setPath(target);
        if (!reason.isEmpty()) emit unreadable(target, reason);
    });
}

QString DirListBox::setPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("the folder does not exist");
    if (!info.isDir()) return QStringLiteral("it is not a folder");
    if (!info.isReadable() || !info.isExecutable()) return QStringLiteral("the folder cannot be read (permission denied)");
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    const QStringList children =
        QDir(absolute).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

    const bool changed = absolute != path_;
    path_ = absolute;
    clear();
    // The ancestors, from the root down to the directory itself.
    QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString walked;
    auto add = [this](const QString& text, const QString& full) {
        auto* item = new QListWidgetItem(text, this);
        item->setData(kPathRole, full);
    };
    add(QStringLiteral("/"), QStringLiteral("/"));
    for (int depth = 0; depth < parts.size(); ++depth) {
        walked += QLatin1Char('/') + parts[depth];
        add(indent(depth + 1) + parts[depth], walked);
    }
    setCurrentRow(count() - 1);
    for (const QString& child : children) add(indent(parts.size() + 1) + child, QDir(absolute).filePath(child));
    if (changed) emit pathChanged(path_);
    return {};
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
    QListWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->accept();
}

void DirListBox::refresh() {
    if (!path_.isEmpty()) setPath(path_);
}

// ---- File list ----

FileListBox::FileListBox(const QString& pattern, QWidget* parent) : QListWidget(parent), pattern_(pattern) {}

bool FileListBox::setPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir()) return false;
    path_ = QDir::cleanPath(info.absoluteFilePath());
    refresh();
    return true;
}

void FileListBox::refresh() {
    const QSignalBlocker quiet(this);
    clear();
    if (path_.isEmpty()) return;
    const std::string pattern = pattern_.toStdString();
    for (const QString& name : QDir(path_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (matchesPattern(name.toStdString(), pattern)) addItem(name);
    setCurrentRow(-1);
}

QString FileListBox::fileName() const {
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FileListBox::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    emit focusReceived();
}

// ---- What both browsers share ----

BrowserDialog::BrowserDialog(Settings& settings, PromptService& prompt, QWidget* mainWindow)
    : QDialog(mainWindow), settings_(settings), prompt_(prompt), mainWindow_(mainWindow) {
    setModal(true);
    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    File1 = new FileListBox(QString::fromUtf8(kBrowserPattern.data(), kBrowserPattern.size()), this);
    TxtChemin = new QLineEdit(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1->setObjectName(QStringLiteral("File1"));
    TxtChemin->setObjectName(QStringLiteral("TxtChemin"));
    TxtChemin->setReadOnly(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Drive1, 0, 0);
    grid->addWidget(Dir1, 1, 0);
    grid->addWidget(File1, 0, 1, 2, 1);

    // A drive that is not ready leaves the directory where it was.
    connect(Drive1, &DriveListBox::driveChanged, this, [this](const QString& drive) { Dir1->setPath(drive); });
    connect(Dir1, &DirListBox::pathChanged, this, [this](const QString& path) { File1->setPath(path); });
    connect(Dir1, &DirListBox::unreadable, this, [this](const QString& path, const QString& reason) {
        prompt_.tell(message(MessageId::FolderOpenFailed, {path.toStdString(), reason.toStdString()}), PromptIcon::Warning);
    });
    connect(File1, &FileListBox::focusReceived, this, &BrowserDialog::refreshLists);

    // The start directory until the settings name another.
    const QString start = QDir::currentPath();
    Dir1->setPath(start);
    Drive1->setDrive(start);
    File1->setPath(start);
}

void BrowserDialog::loadIfNeeded() {
    if (loaded_) return;
    loaded_ = true;
    const std::string dir = settings_.lireIni("Dir");
    if (dir != "1") {
        // Each list keeps its place when its stored value no longer exists.
        Dir1->setPath(QString::fromStdString(dir));
        Drive1->setDrive(QString::fromStdString(settings_.lireIni("Drive")));
        File1->setPath(QString::fromStdString(settings_.lireIni("File")));
    }
    centreOver(*this, mainWindow_);
    confirmed = false;
}

std::string BrowserDialog::path() const { return TxtChemin->text().toStdString(); }

void BrowserDialog::writeSettings() {
    settings_.ecrireIni("Dir", Dir1->path().toStdString());
    settings_.ecrireIni("Drive", Drive1->drive().toStdString());
    settings_.ecrireIni("File", File1->path().toStdString());
}

void BrowserDialog::refreshLists() {
    // The selected file by its name: files added or removed move the rows.
    const QString selected = File1->fileName();
    Drive1->refresh();
    Dir1->refresh();
    File1->refresh();
    if (selected.isEmpty()) return;
    const QList<QListWidgetItem*> found = File1->findItems(selected, Qt::MatchExactly);
    if (!found.isEmpty()) File1->setCurrentItem(found.front());
}

void BrowserDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refreshLists();
}

}  // namespace korvane
