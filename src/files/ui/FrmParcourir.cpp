#include "files/ui/FrmParcourir.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "files/FileFlows.h"
#include "shell/ui/LanguageApply.h"

namespace korvane {
FrmParcourir::FrmParcourir(Settings& settings, PromptService& prompt, QWidget* mainWindow)
    : BrowserDialog(settings, prompt, mainWindow) {
    auto* grid = static_cast<QGridLayout*>(layout());
    grid->addWidget(TxtChemin, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    setObjectName(QStringLiteral("FrmParcourir"));
    CmdSelectOK = new QPushButton(this);
    CmdSelectOK->setObjectName(QStringLiteral("CmdSelectOK"));
    CmdSelectOK->setDefault(true);
    CmdQuitter = new QPushButton(this);
    CmdQuitter->setObjectName(QStringLiteral("CmdQuitter"));
    buttons->addStretch();
    buttons->addWidget(CmdSelectOK);
    buttons->addWidget(CmdQuitter);
    grid->addLayout(buttons, 3, 0, 1, 2);
    // A path may be typed or pasted as well as chosen in the lists.
    TxtChemin->setReadOnly(false);
    TxtChemin->installEventFilter(this);
    appliquerFr();
    resize(560, 360);

    // The selection, not the current row: a click makes the row current before it
    // selects it, and the file name is that of the selected row.
    connect(File1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!File1->fileName().isEmpty()) File1_Click();
    });
    connect(File1, &QListWidget::itemDoubleClicked, this, [this] {
        File1_Click();
        CmdSelectOK_Click();
    });
    connect(CmdSelectOK, &QPushButton::clicked, this, &FrmParcourir::CmdSelectOK_Click);
    connect(CmdQuitter, &QPushButton::clicked, this, &FrmParcourir::CmdQuitter_Click);
}

void FrmParcourir::appliquerFr() { applyLanguage(*this, "FrmParcourir", "Fr"); }

void FrmParcourir::appliquerEn() { applyLanguage(*this, "FrmParcourir", "En"); }

bool FrmParcourir::eventFilter(QObject* watched, QEvent* event) {
    // After the click's own placing of the caret, which would undo the selection.
    if (watched == TxtChemin && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, TxtChemin, &QLineEdit::selectAll);
    return BrowserDialog::eventFilter(watched, event);
}

void FrmParcourir::File1_Click() {
    TxtChemin->setText(
        QString::fromStdString(joinBrowserPath(File1->path().toStdString(), File1->fileName().toStdString())));
}

void FrmParcourir::CmdSelectOK_Click() {
    // A typed path is read against the folder shown; a folder is opened in the lists.
    const QString typed = TxtChemin->text().trimmed();
    const QFileInfo target(QDir(Dir1->path()), typed);
    if (!typed.isEmpty() && target.isDir()) {
        Dir1->setPath(target.absoluteFilePath());
        TxtChemin->clear();
        return;
    }
    if (typed.isEmpty()) {
        prompt_.tell(message(MessageId::SelectFile));
        return;
    }
    if (!target.isFile()) {
        prompt_.tell(message(MessageId::FileDoesNotExist, {typed.toStdString()}), PromptIcon::Warning);
        return;
    }
    TxtChemin->setText(target.absoluteFilePath());
    writeSettings();
    confirmed = true;
    done(Accepted);
}

void FrmParcourir::CmdQuitter_Click() {
    confirmed = false;
    writeSettings();
    done(Rejected);
}

void FrmParcourir::reject() {
    CmdQuitter_Click();
    markUnloaded();
}

}  // namespace korvane
