#pragma once
// The rules of the search-and-replace dialog FrmRechercher: find the next
// occurrence without regard to letter case, offer to go on from the top, replace
// the selected occurrence or every occurrence of the body.
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
    std::string cmdRemplacerTout;
    // The messages: nothing found, go on from the top, and how many were replaced
    // ("%1" stands for the number).
    std::string introuvable;
    std::string continuerAuDebut;
    std::string remplacements;
};

// English when `langue` is exactly "En", French for anything else, as the whole
// interface.
const SearchCaptions& searchCaptions(const std::string& langue);

class TextSearch {
public:
    TextSearch(TextEditor& editor, PromptService& prompt) : editor_(editor), prompt_(prompt) {}

    // The interface language of the messages; French until set.
    void setLangue(const std::string& langue) { langue_ = langue; }

    // CmdSuivant: selects the next occurrence of `searched` (calculator codes) after
    // the current selection, or asks whether to go on from the top of the program.
    void findNext(const std::string& searched);

    // CmdRemplacer: a selected occurrence of `searched` in the body becomes
    // `replacement`, the caret after it; with no occurrence selected, the next one
    // is found and selected first and nothing is replaced.
    void replace(const std::string& searched, const std::string& replacement);

    // CmdRemplacerTout: every occurrence in the body becomes `replacement`, in one
    // edit that one undo takes back, and the user is told how many. Returns that number.
    int replaceAll(const std::string& searched, const std::string& replacement);

private:
    TextEditor& editor_;
    PromptService& prompt_;
    std::string langue_ = "Fr";
};

// The 1-based position of the first occurrence of `needle` in `haystack` at or
// after 1-based position `from`, comparing without regard to letter case; 0 when
// there is none.
int findWithoutCase(const std::string& haystack, const std::string& needle, int from);

}  // namespace korvane
