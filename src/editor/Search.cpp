#include "editor/Search.h"

#include <algorithm>

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

const SearchCaptions kFrench{"Rechercher", "Rechercher :", "Remplacer par :", "Suivant", "Remplacer", "Annuler"};
const SearchCaptions kEnglish{"Search", "Search :", "Replace by :", "Next", "Replace", "Cancel"};

}  // namespace

const char* const kTexteIntrouvable = "Le texte recherch\xC3\xA9 est introuvable";
const char* const kContinuerAuDebut = "Voulez-vous continuer au d\xC3\xA9" "but du programme ?";

const SearchCaptions& searchCaptions(const std::string& langue) { return langue == "Fr" ? kFrench : kEnglish; }

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

        if (findWithoutCase(text, searched, kFirstSearchPosition) == 0) {
            prompt_.ask({kTexteIntrouvable, PromptIcon::Warning, PromptButtons::Ok});
        } else if (const int found = findWithoutCase(text, searched, static_cast<int>(start)); found != 0) {
            editor_.setSelection(found - 1, size);
        } else if (prompt_.ask({kContinuerAuDebut, PromptIcon::None, PromptButtons::YesNo}) == PromptAnswer::Yes) {
            editor_.setSelection(findWithoutCase(text, searched, kFirstSearchPosition) - 1, size);
        }
    }
    editor_.setFocus();
}

void TextSearch::replace(const std::string& replacement) {
    editor_.replaceRange(editor_.selectionStart(), editor_.selectionLength(), replacement);
}

}  // namespace korvane
