#pragma once
// The prompt service shown as message boxes titled "Korvane".
#include <QPointer>
#include <QWidget>

#include "shell/Prompt.h"

namespace korvane {

class QtPrompt : public PromptService {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    PromptAnswer ask(const PromptMessage& message) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace korvane
