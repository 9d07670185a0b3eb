#pragma once
// The full syntax colouring: the editor text becomes one coloured document in
// which keywords take their canonical form and comments their colour; the
// document is then applied to the editor as same-length rewrites and colour runs.
#include <string>
#include <string_view>
#include <vector>

#include "editor/TextEditor.h"

namespace korvane {

// The two keyword lists, each word with a blank before and after it.
extern const std::string_view motsBloc;
extern const std::string_view motsInstr;

// The words of a keyword list, in list order.
std::vector<std::string> keywordWords(std::string_view list);

// The four colours of the document's colour table, in index order.
struct ColourTable {
    Rgb comment = rgb(0, 130, 0);
    Rgb bloc = rgb(0, 0, 255);
    Rgb instr = rgb(180, 100, 100);
    Rgb ordinary = rgb(0, 0, 0);
};

// Builds the colouring document of an editor text. `tailleText` is the text of the
// font-size list; when it is not a number the font-size piece is left out.
std::string coloriserDocument(const std::string& text, const ColourTable& colours, const std::string& tailleText);

// A colouring document read back: its plain text (CR LF line breaks) and the
// colour of every character.
struct ParsedDocument {
    std::string text;
    std::vector<ColourRun> runs;
};
ParsedDocument parseColouringDocument(const std::string& document);

// What applying a document to an editor text changes: the keyword rewrites and
// the colours. Empty with `applicable` false when the document does not read back
// as the same text up to letter case (the editor then keeps what it shows).
struct ColouringChange {
    bool applicable = false;
    std::vector<TextRewrite> rewrites;
    std::vector<ColourRun> runs;
};
ColouringChange colouringChangeFor(const std::string& text, const ParsedDocument& parsed);

// The colours that the full colouring gives `lines`, one or more whole lines of an
// editor text, relative to their start. Each line is coloured on its own, so these
// are the colours the lines take inside any text.
std::vector<ColourRun> coloursOfLines(const std::string& lines);

// Builds the document of the editor's text and applies it to the editor.
void coloriserTexte(TextEditor& editor, const ColourTable& colours, const std::string& tailleText);

// The full recolouring of the main window: saves the caret in `posCurseur`,
// colours the whole text and puts the caret back (leaving no selection).
void colorierTout(TextEditor& editor, int& posCurseur, const std::string& tailleText);

}  // namespace korvane
