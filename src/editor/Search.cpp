#include "editor/Search.h"

#include <algorithm>

#include "editor/EditorContext.h"

namespace korvane {
namespace {

// Search positions count from 1; no search starts before position 8, which skips
// the opening lines of the program.
constexpr int kFirstSearchPosition = 8;

// Letter case folded for ASCII and for the accented letters of the calculator's
// Latin-1 range (0xC0 to 0xDE, but the multiplication sign 0xD7).
unsigned char foldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    return c;
}

const SearchCaptions kFrench{"Rechercher",
                             "Rechercher :",
                             "Remplacer par :",
                             "Suivant",
                             "Remplacer",
                             "Annuler",
                             "Remplacer tout",
                             "Le texte recherch\xC3\xA9 est introuvable",
                             "Voulez-vous continuer au d\xC3\xA9" "but du programme ?",
                             "%1 occurrence(s) remplac\xC3\xA9" "e(s)"};
const SearchCaptions kEnglish{"Search",
                              "Search :",
                              "Replace by :",
                              "Next",
                              "Replace",
                              "Cancel",
                              "Replace all",
                              "The searched text cannot be found",
                              "Do you want to continue from the beginning of the program?",
                              "%1 occurrence(s) replaced"};

// The body: from the first caret position to the last.
int bodyEnd(const TextEditor& editor) { return std::max(editor.length() - kLastCaretFromEnd, kFirstCaret); }

}  // namespace

const SearchCaptions& searchCaptions(const std::string& langue) { return langue == "En" ? kEnglish : kFrench; }

int findWithoutCase(const std::string& haystack, const std::string& needle, int from) {
    if (needle.empty() || from < 1) return 0;
    const auto start = haystack.begin() + std::min<size_t>(static_cast<size_t>(from - 1), haystack.size());
    const auto found = std::search(start, haystack.end(), needle.begin(), needle.end(), [](char a, char b) {
        return foldCase(static_cast<unsigned char>(a)) == foldCase(static_cast<unsigned char>(b));
    });
    return found == haystack.end() ? 0 : static_cast<int>(found - haystack.begin()) + 1;
}

void TextSearch::findNext(const std::string& searched) {
    // An empty search text finds nothing and asks nothing.
    if (!searched.empty()) {
        const std::string text = editor_.text();
        const int size = static_cast<int>(searched.size());
        long long start = static_cast<long long>(editor_.selectionStart()) + editor_.selectionLength();
        start = std::max<long long>(start, kFirstSearchPosition);
        // A one-character match that is already selected is stepped over.
        if (size == 1) ++start;
        start = std::min<long long>(start, static_cast<long long>(text.size()) + 1);

        const SearchCaptions& messages = searchCaptions(langue_);
        if (findWithoutCase(text, searched, kFirstSearchPosition) == 0) {
            prompt_.ask({messages.introuvable, PromptIcon::Warning, PromptButtons::Ok});
        } else if (const int found = findWithoutCase(text, searched, static_cast<int>(start)); found != 0) {
            editor_.setSelection(found - 1, size);
        } else if (prompt_.ask({messages.continuerAuDebut, PromptIcon::None, PromptButtons::YesNo}) == PromptAnswer::Yes) {
            editor_.setSelection(findWithoutCase(text, searched, kFirstSearchPosition) - 1, size);
        }
    }
    editor_.setFocus();
}

void TextSearch::replace(const std::string& searched, const std::string& replacement) {
    const int start = editor_.selectionStart();
    const int length = editor_.selectionLength();
    const bool selectedMatch = !searched.empty() && length == static_cast<int>(searched.size()) &&
                               start >= kFirstCaret && start + length <= bodyEnd(editor_) &&
                               findWithoutCase(editor_.text().substr(start, length), searched, 1) == 1;
    if (!selectedMatch) {
        findNext(searched);
        return;
    }
    editor_.replaceRange(start, length, replacement);
    editor_.setCaret(start + static_cast<int>(replacement.size()));
    editor_.setFocus();
}

int TextSearch::replaceAll(const std::string& searched, const std::string& replacement) {
    if (searched.empty() || editor_.length() < kFirstCaret) return 0;
    const std::string text = editor_.text();
    const int end = bodyEnd(editor_);
    const std::string body = text.substr(kFirstCaret, static_cast<size_t>(end - kFirstCaret));
    std::string replaced;
    int count = 0;
    // The caret keeps its place in the text around it; inside an occurrence it goes
    // to the start of the replacement.
    const int caretInBody = editor_.caret() - kFirstCaret;
    const int n = static_cast<int>(searched.size());
    int shift = 0;
    int caretInside = -1;
    size_t from = 0;
    for (int found; (found = findWithoutCase(body, searched, static_cast<int>(from) + 1)) != 0; ++count) {
        const int at = found - 1;
        if (at + n <= caretInBody) shift += static_cast<int>(replacement.size()) - n;
        else if (at < caretInBody) caretInside = static_cast<int>(replaced.size()) + (at - static_cast<int>(from));
        replaced.append(body, from, static_cast<size_t>(at) - from).append(replacement);
        from = static_cast<size_t>(at + n);
    }
    if (count > 0) {
        replaced.append(body, from, std::string::npos);
        editor_.replaceRange(kFirstCaret, static_cast<int>(body.size()), replaced);
        editor_.setCaret(std::clamp(kFirstCaret + (caretInside >= 0 ? caretInside : caretInBody + shift), kFirstCaret,
                                    bodyEnd(editor_)));
    }
    std::string message = searchCaptions(langue_).remplacements;
    message.replace(message.find("%1"), 2, std::to_string(count));
    prompt_.tell(message, PromptIcon::Information);
    editor_.setFocus();
    return count;
}

}  // namespace korvane
