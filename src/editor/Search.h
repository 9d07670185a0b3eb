#pragma once
// The rules of the search-and-replace dialog FrmRechercher: find the next
// occurrence without regard to letter case, offer to go on from the top, and
// replace the selection.
#include <string>

#include "editor/TextEditor.h"
#include "shell/Prompt.h"

namespace korvane {

// The dialog's texts in one interface language.
struct SearchCaptions {
    std::string title;
    std::string lblRechercher;
    std::string lblRemplacer;
    std::string cmdSuivant;
    std::string cmdRemplacer;
    std::string cmdAnnuler;
};

// French when `langue` is exactly "Fr", English for anything else.
const SearchCaptions& searchCaptions(const std::string& langue);

// The two messages of the search, shown in French whatever the interface language.
extern const char* const kTexteIntrouvable;
extern const char* const kContinuerAuDebut;

class TextSearch {
public:
    TextSearch(TextEditor& editor, PromptService& prompt) : editor_(editor), prompt_(prompt) {}

    // CmdSuivant: selects the next occurrence of `searched` (calculator codes) after
    // the current selection, or asks whether to go on from the top of the program.
    void findNext(const std::string& searched);

    // CmdRemplacer: the selection, whatever it holds, becomes `replacement`; the
    // caret ends after it. No recolouring.
    void replace(const std::string& replacement);

private:
    TextEditor& editor_;
    PromptService& prompt_;
};

// The 1-based position of the first occurrence of `needle` in `haystack` at or
// after 1-based position `from`, comparing without regard to letter case; 0 when
// there is none.
int findWithoutCase(const std::string& haystack, const std::string& needle, int from);

}  // namespace korvane
