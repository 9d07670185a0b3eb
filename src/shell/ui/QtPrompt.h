#pragma once
// The prompt service shown as message boxes titled "Korvane".
#include <QPointer>
#include <QWidget>
#include <string>

#include "shell/Prompt.h"

namespace korvane {

class QtPrompt : public PromptService {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // The interface language of the buttons' captions ("En" English, else French).
    void setLangue(const std::string& langue) { langue_ = langue; }
    PromptAnswer ask(const PromptMessage& message) override;

private:
    QPointer<QWidget> parent_;
    std::string langue_;
};

}  // namespace korvane
