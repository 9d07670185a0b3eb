#include "insert/ui/ToolWindow.h"

#include <QCloseEvent>
#include <QPushButton>

namespace korvane {

ToolWindow::ToolWindow(const QString& lockCaption, std::function<void()> redock, std::function<void()> closed,
                       QWidget* parent)
    // Only a close button: docked, the window neither shrinks to an icon nor fills
    // the screen, and its narrow title bar keeps room for its title.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      redock_(std::move(redock)),
      closed_(std::move(closed)) {
    setAttribute(Qt::WA_DeleteOnClose);
    CmdLock = new QPushButton(lockCaption, this);
    CmdLock->setObjectName(QStringLiteral("CmdLock"));
    connect(CmdLock, &QPushButton::clicked, this, &ToolWindow::CmdLock_Click);
}

void ToolWindow::CmdLock_Click() {
    if (isLocked) {
        isLocked = false;
        CmdLock->setText(QStringLiteral("Lock"));
        // It stays where it is; the main window no longer keeps room for it.
        redock();
    } else {
        isLocked = true;
        CmdLock->setText(QStringLiteral("UnLock"));
        redock();
    }
}

void ToolWindow::redock() {
    if (redock_) redock_();
}

void ToolWindow::fermerForm() { close(); }

void ToolWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        if (closed_) closed_();
    }
    event->accept();
}

}  // namespace korvane
