#include "shell/ui/QtPrompt.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "shell/Languages.h"

namespace korvane {

PromptAnswer QtPrompt::ask(const PromptMessage& message) {
    QMessageBox box(parent_);
    box.setWindowTitle(QStringLiteral("Korvane"));
    box.setText(QString::fromUtf8(message.text));
    switch (message.icon) {
        case PromptIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case PromptIcon::Information: box.setIcon(QMessageBox::Information); break;
        case PromptIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case PromptIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case PromptIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (message.buttons) {
        case PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case PromptButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case PromptButtons::YesCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel); break;
    }
    // Qt's own captions are English: the buttons speak the interface's language.
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "promptOk"}, {QMessageBox::Yes, "promptYes"}, {QMessageBox::No, "promptNo"},
        {QMessageBox::Cancel, "promptCancel"}};
    for (const auto& [which, control] : captions)
        if (QAbstractButton* button = box.button(which))
            button->setText(QString::fromStdString(languageText("QtPrompt", control, 0, langue_)));
    switch (box.exec()) {
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        case QMessageBox::Cancel: return PromptAnswer::Cancel;
        default: break;
    }
    // Escape or the close box on a question counts as its negative answer.
    if (message.buttons == PromptButtons::YesNo && box.clickedButton() == nullptr) return PromptAnswer::No;
    const bool cancels = message.buttons == PromptButtons::OkCancel || message.buttons == PromptButtons::YesCancel;
    return cancels && box.clickedButton() == nullptr ? PromptAnswer::Cancel : PromptAnswer::Ok;
}

}  // namespace korvane
