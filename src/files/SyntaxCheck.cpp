#include "files/SyntaxCheck.h"

#include "files/Detokenizer.h"
#include "files/Messages.h"
#include "files/Tokens.h"

namespace korvane {
namespace {

// The tokenizer's errors read "line N: what" (or "ligne N : what"); the rest has no line.
SyntaxCheck fromError(const std::string& error, int column = -1) {
    SyntaxCheck c;
    c.ok = false;
    c.line = lineOfMessage(error, &c.message);
    if (c.line > 0) c.column = column;
    return c;
}

}  // namespace

int lineOfError(const std::string& error) { return lineOfMessage(error); }

SyntaxCheck checkSyntax(const VariableFileInput& document) {
    // The same road as a tokenized save: the text-form file, then its tokenizing.
    const BuildResult built = buildVariableFile(document);
    if (!built.ok()) return fromError(built.error);
    const BuildResult tokenized = tokenizeVariableFile(built.bytes, document.oneExpression);
    if (!tokenized.ok()) return fromError(tokenized.error, tokenized.column);
    return {};
}

SyntaxCheck checkProgramText(const std::string& programText) {
    const TokenizeResult t = tokenize(programText);
    return t.ok() ? SyntaxCheck{} : fromError(t.error, t.column);
}

int lineStartOffset(const std::string& editorText, int line) {
    std::size_t at = 0;
    for (int l = 1; l < line; ++l) {
        const std::size_t next = editorText.find("\r\n", at);
        if (next == std::string::npos) return static_cast<int>(editorText.size());
        at = next + 2;
    }
    return static_cast<int>(at);
}

}  // namespace korvane
