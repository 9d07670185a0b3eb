#include "files/Document.h"

#include <algorithm>

#include "files/FileFlows.h"

namespace korvane {

std::string newDocumentText(ProgramKind kind) {
    return kind == ProgramKind::Program ? "\r\nPrgm\r\n\r\nEndPrgm" : "\r\nFunc\r\n\r\nEndFunc";
}

Bytes trailerFor(ProgramKind kind) { return kind == ProgramKind::Program ? programTrailer() : functionTrailer(); }

NameFieldCorrection correctNameField(const std::string& text, int caret) {
    const size_t paren = text.find('(');
    const size_t nameLength = paren == std::string::npos ? text.size() : paren;
    if (nameLength <= kNameLimit) return {text, caret, false};
    std::string corrected = text.substr(0, kNameLimit);
    if (paren != std::string::npos) corrected += text.substr(paren);
    return {corrected, std::clamp(caret, 0, static_cast<int>(corrected.size())), true};
}

std::string windowTitle(const std::string& documentPath, bool unsavedChanges) {
    return windowTitleFor(documentPath) + (unsavedChanges ? " *" : "");
}

}  // namespace korvane
