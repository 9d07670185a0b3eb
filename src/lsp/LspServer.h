#pragma once
// The language server's answers: JSON-RPC 2.0 messages in, the responses and
// notifications to send back out, with the open programs (full sync) in between.
// Framing and the process's input and output are the caller's.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "files/Messages.h"
#include "lsp/LspProgram.h"

namespace korvane {

class LspServer {
public:
    // `language`: the interface's language until initialize names another.
    explicit LspServer(MessageLanguage language);

    // One message's body; what to send back, each a JSON body.
    std::vector<std::string> handle(std::string_view body);

    bool exitRequested() const { return exitRequested_; }
    // The process's status after exit: 0 after shutdown, 1 without.
    int exitStatus() const { return shutdown_ ? 0 : 1; }
    // The formatter's step when a client asks none (tabSize is ignored: the
    // program's own step is kept).
    static constexpr int kDefaultStep = 1;

private:
    friend struct LspRequests;

    MessageLanguage language_;
    bool initialized_ = false;
    bool shutdown_ = false;
    bool exitRequested_ = false;
    std::map<std::string, ProgramDocument> documents_;
};

}  // namespace korvane
