#include "files/SyntaxCheck.h"

#include <cstdlib>

#include "files/Detokenizer.h"
#include "files/Tokens.h"

namespace korvane {
namespace {

// The tokenizer's errors read "line N: what"; the rest has no line.
SyntaxCheck fromError(const std::string& error) {
    SyntaxCheck c;
    c.ok = false;
    c.message = error;
    if (error.rfind("line ", 0) == 0) {
        const std::size_t colon = error.find(": ");
        c.line = std::atoi(error.c_str() + 5);
        if (colon != std::string::npos) c.message = error.substr(colon + 2);
    }
    return c;
}

}  // namespace

int lineOfError(const std::string& error) { return error.rfind("line ", 0) == 0 ? std::atoi(error.c_str() + 5) : 0; }

SyntaxCheck checkSyntax(const VariableFileInput& document) {
    // The same road as a tokenized save: the text-form file, then its tokenizing.
    const BuildResult built = buildVariableFile(document);
    if (!built.ok()) return fromError(built.error);
    const BuildResult tokenized = tokenizeVariableFile(built.bytes, document.oneExpression);
    if (!tokenized.ok()) return fromError(tokenized.error);
    return {};
}

SyntaxCheck checkProgramText(const std::string& programText) {
    const TokenizeResult t = tokenize(programText);
    return t.ok() ? SyntaxCheck{} : fromError(t.error);
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
