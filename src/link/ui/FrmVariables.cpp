#include "link/ui/FrmVariables.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>
#include <memory>

#include "editor/ui/EditorWidget.h"
#include "files/Messages.h"
#include "files/VariableTable.h"
#include "files/ui/LinkTransfer.h"
#include "link/CalcTypes.h"
#include "shell/Languages.h"

namespace korvane {
namespace {

template <typename Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

constexpr int kIndexRole = Qt::UserRole;

}  // namespace

FrmVariables::FrmVariables(std::function<std::string()> langue, std::function<link::LinkOptions()> options,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), langue_(std::move(langue)), options_(std::move(options)) {
    setObjectName(QStringLiteral("FrmVariables"));
    setAcceptDrops(true);
    LstVariables = named(new QTreeWidget(this), "LstVariables");
    LstVariables->setColumnCount(4);
    LstVariables->setRootIsDecorated(true);
    LstVariables->setUniformRowHeights(true);
    CmdActualiser = named(new QPushButton(this), "CmdActualiser");
    CmdOuvrir = named(new QPushButton(this), "CmdOuvrir");
    CmdRecevoir = named(new QPushButton(this), "CmdRecevoir");
    CmdSupprimer = named(new QPushButton(this), "CmdSupprimer");
    LblDepot = named(new QLabel(this), "LblDepot");
    LblEtat = named(new QLabel(this), "LblEtat");
    LblEtat->setTextFormat(Qt::PlainText);
    transfer = new LinkTransfer(this);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {CmdActualiser, CmdOuvrir, CmdRecevoir, CmdSupprimer}) buttons->addWidget(button);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addLayout(buttons);
    column->addWidget(LstVariables, 1);
    column->addWidget(LblDepot);
    column->addWidget(LblEtat);
    resize(560, 420);

    askReceivePath = [this](const QString& suggested) {
        QFileDialog dialog(this, text("saveTitle"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.selectFile(suggested);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                      : QString();
    };
    tell = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };

    connect(CmdActualiser, &QPushButton::clicked, this, &FrmVariables::refresh);
    connect(CmdOuvrir, &QPushButton::clicked, this, &FrmVariables::open);
    connect(CmdRecevoir, &QPushButton::clicked, this, &FrmVariables::receive);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FrmVariables::remove);
    connect(LstVariables, &QTreeWidget::itemSelectionChanged, this, &FrmVariables::selectionChanged);
    connect(LstVariables, &QTreeWidget::itemActivated, this, [this] {
        if (CmdOuvrir->isEnabled()) open();
    });
    connect(transfer, &LinkTransfer::progress, this, [this](double fraction) {
        if (!transfer->caption.isEmpty()) LblEtat->setText(transfer->caption.arg(static_cast<int>(fraction * 100)));
    });
    selectionChanged();
}

QString FrmVariables::text(const char* key) const {
    return QString::fromStdString(languageText("FrmVariables", key, 0, langue_()));
}

void FrmVariables::applyColumnTitles() {
    LstVariables->setHeaderLabels({text("colName"), text("colType"), text("colSize"), text("colFlags")});
}

void FrmVariables::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void FrmVariables::refresh() {
    auto listed = std::make_shared<std::vector<link::CalcVariable>>();
    run(
        text("listing"),
        link::keepingResult(listed,
            [](link::Link& link, link::TransferControl& control) { return link.listVariables(&control); }),
        [this, listed] {
            setVariables(*listed);
            LblEtat->setText(text("listed").arg(QString::fromStdString(
                link::groupedCount(listed->size(), link::languageOf(langue_())))));
        });
}

void FrmVariables::setVariables(const std::vector<link::CalcVariable>& variables) {
    variables_ = variables;
    applyColumnTitles();
    const link::Language language = link::languageOf(langue_());
    LstVariables->clear();
    std::map<std::string, QTreeWidgetItem*> folders;
    for (std::size_t i = 0; i < variables_.size(); ++i) {
        const link::CalcVariable& v = variables_[i];
        QTreeWidgetItem*& folder = folders[v.folder];
        if (!folder) {
            folder = new QTreeWidgetItem(LstVariables, {EditorWidget::toDisplay(v.folder)});
            folder->setData(0, kIndexRole, -1);
        }
        QStringList flags;
        if (v.locked) flags << text("locked");
        if (v.archived) flags << text("archived");
        auto* row = new QTreeWidgetItem(folder, {EditorWidget::toDisplay(v.name),
                                                 QString::fromStdString(link::typeWord(v.type, language)),
                                                 QString::fromStdString(link::groupedCount(v.size, language)),
                                                 flags.join(QStringLiteral(", "))});
        row->setData(0, kIndexRole, static_cast<int>(i));
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    LstVariables->expandAll();
    for (int c = 0; c < LstVariables->columnCount(); ++c) LstVariables->resizeColumnToContents(c);
    selectionChanged();
}

const link::CalcVariable* FrmVariables::selected() const {
    const QTreeWidgetItem* item = LstVariables->currentItem();
    if (!item || !item->isSelected()) return nullptr;
    const int index = item->data(0, kIndexRole).toInt();
    return index >= 0 && index < static_cast<int>(variables_.size()) ? &variables_[static_cast<std::size_t>(index)]
                                                                     : nullptr;
}

void FrmVariables::selectionChanged() {
    const link::CalcVariable* v = selected();
    const bool idle = !transfer->busy();
    CmdActualiser->setEnabled(idle);
    CmdOuvrir->setEnabled(idle && v && (v->type == kProgramTypeId || v->type == kFunctionTypeId));
    CmdRecevoir->setEnabled(idle && v);
    CmdSupprimer->setEnabled(idle && v);
}

void FrmVariables::run(const QString& what,
                       std::function<link::LinkStatus(link::Link&, link::TransferControl&)> operation,
                       std::function<void()> done) {
    if (transfer->busy()) return;
    const link::LinkOptions options = options_();
    transfer->caption = what.contains(QLatin1Char('%')) ? what : QString();
    LblEtat->setText(transfer->caption.isEmpty() ? what : what.arg(0));
    transfer->start(
        [options, operation = std::move(operation)](link::TransferControl& control) {
            auto opened = link::Link::open(options);
            if (!opened.ok()) return opened.status;
            return operation(*opened.value, control);
        },
        [this, done = std::move(done)](const link::LinkStatus& status) {
            selectionChanged();
            if (status.ok()) return done();
            const QString failure = QString::fromStdString(status.message(link::languageOf(langue_())));
            LblEtat->setText(failure);
            tell(failure);
        });
    selectionChanged();
}

void FrmVariables::open() {
    if (const link::CalcVariable* v = selected()) emit openRequested(*v);
}

void FrmVariables::receive() {
    const link::CalcVariable* chosen = selected();
    if (!chosen) return;
    const link::CalcVariable v = *chosen;
    const QString suggested =
        EditorWidget::toDisplay(v.name) + QString::fromStdString(link::singleFileExtension(v.type, options_().calc));
    const QString path = askReceivePath(suggested);
    if (path.isEmpty()) return;
    const QString name = EditorWidget::toDisplay(v.qualifiedName());
    auto received = std::make_shared<Bytes>();
    run(
        QString(text("receiving")).arg(name),
        link::keepingResult(received,
            [v](link::Link& link, link::TransferControl& control) { return link.receiveVariable(v, &control); }),
        [this, received, path, name] {
            // Beside the old file until whole: a failed write leaves it as it was.
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(received->data(), static_cast<qint64>(received->size())) !=
                    static_cast<qint64>(received->size()) ||
                !file.commit()) {
                const QString failure =
                    QString::fromStdString(message(MessageId::SaveFailed, {path.toStdString(), file.errorString().toStdString()}));
                LblEtat->setText(failure);
                return tell(failure);
            }
            LblEtat->setText(text("received").arg(name, path));
        });
}

void FrmVariables::remove() {
    const link::CalcVariable* chosen = selected();
    if (!chosen) return;
    const link::CalcVariable v = *chosen;
    const QString name = EditorWidget::toDisplay(v.qualifiedName());
    QMessageBox question(QMessageBox::Question, windowTitle(), text("deleteQuestion").arg(name),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName(QStringLiteral("deleteQuestion"));
    question.setDefaultButton(QMessageBox::No);
    question.button(QMessageBox::Yes)->setText(QString::fromStdString(languageText("QtPrompt", "promptYes", 0, langue_())));
    question.button(QMessageBox::No)->setText(QString::fromStdString(languageText("QtPrompt", "promptNo", 0, langue_())));
    if (question.exec() != QMessageBox::Yes) return;
    run(
        text("listing"),
        [v](link::Link& link, link::TransferControl& control) { return link.deleteVariable(v, &control); },
        [this, name] {
            // The listing without it, and what the calculator holds now.
            refresh();
            LblEtat->setText(text("deleted").arg(name));
        });
}

void FrmVariables::sendFiles(const QStringList& paths) {
    auto entries = std::make_shared<std::vector<TableEntry>>();
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            tell(QString::fromStdString(message(MessageId::OpenFailed, {path.toStdString(), file.errorString().toStdString()})));
            return;
        }
        const QByteArray bytes = file.readAll();
        const VariableTable table = readVariableTable(Bytes(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        if (!table.ok()) {
            tell(path + QStringLiteral("\n") + EditorWidget::toDisplay(table.error));
            return;
        }
        entries->insert(entries->end(), table.variables.begin(), table.variables.end());
    }
    if (entries->empty()) return;
    const QString first = EditorWidget::toDisplay(entries->front().folder + "\\" + entries->front().name);
    const auto count = entries->size();
    run(
        QString(text("sending")).arg(entries->size() == 1 ? first : QString::number(count)),
        [entries](link::Link& link, link::TransferControl& control) {
            for (const TableEntry& entry : *entries) {
                const link::LinkStatus sent = link.sendVariable(entry, &control);
                if (!sent.ok()) return sent;
            }
            return link::LinkStatus{};
        },
        [this, count] {
            refresh();
            LblEtat->setText(text("sent").arg(count));
        });
}

void FrmVariables::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void FrmVariables::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    sendFiles(paths);
}

}  // namespace korvane
