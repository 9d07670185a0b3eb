#pragma once
// Every message box and question goes through this service, so the rules can ask
// the user without a toolkit and tests can answer from a script.
#include <deque>
#include <string>
#include <vector>

namespace korvane {

enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptButtons { Ok, YesNo, OkCancel, YesCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// One message as shown: the text is UTF-8 (messages are the program's own French
// or English texts, not calculator codes).
struct PromptMessage {
    std::string text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
};

class PromptService {
public:
    virtual ~PromptService() = default;
    // Shows the message with the title "Korvane" and returns the button pressed.
    virtual PromptAnswer ask(const PromptMessage& message) = 0;
    PromptAnswer tell(const std::string& text, PromptIcon icon = PromptIcon::None) {
        return ask({text, icon, PromptButtons::Ok});
    }
};

// Answers from a script and records every message, for tests. With the script
// empty, Ok/Yes-No/Ok-Cancel/Yes-Cancel questions get Ok, No, Cancel and Cancel.
class ScriptedPrompt : public PromptService {
public:
    PromptAnswer ask(const PromptMessage& message) override {
        shown.push_back(message);
        if (!answers.empty()) {
            const PromptAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (message.buttons) {
            case PromptButtons::YesNo: return PromptAnswer::No;
            case PromptButtons::OkCancel:
            case PromptButtons::YesCancel: return PromptAnswer::Cancel;
            case PromptButtons::Ok: break;
        }
        return PromptAnswer::Ok;
    }

    std::deque<PromptAnswer> answers;
    std::vector<PromptMessage> shown;
};

}  // namespace korvane
