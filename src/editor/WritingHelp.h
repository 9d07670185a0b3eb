#pragma once
// Help while writing, without a toolkit: where the caret stands (line and column as
// the syntax check counts them), the command named at the caret, the words that
// completion offers, the names a program defines and the lines of its labels and
// definitions, and the PC keyboard's two-character spellings of the calculator's
// arrow and comparison signs. Text is calculator codes; a "line" is one editor line
// without its CR LF, and offsets in it count characters from 0.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "insert/CommandHelp.h"

namespace korvane {

// A position's line and column: line 1 is the editor's first line (it stands for
// the name field's argument list), line 2 holds "Prgm" or "Func"; columns count
// characters from 1. Only CR LF ends a line, as in lineStartOffset.
struct LineColumn {
    int line = 1;
    int column = 1;
    bool operator==(const LineColumn&) const = default;
};
LineColumn lineColumnOf(std::string_view editorText, int position);

// The number of lines of an editor text.
int lineCount(std::string_view editorText);

// The characters that names are made of: ASCII letters, digits and "_", the Greek
// and accented letters, and the marks that belong to command names (▸, ⁻¹, √, ∫, ∂).
bool isWordCode(unsigned char code);

// The command named at `caret`: the caret stands inside its name, right after it,
// or right after the "(" that ends a function's name. A name that follows other
// letters with ▸ (x▸DMS) is found from its ▸. Nothing inside a string or a comment.
struct CommandAtCaret {
    const CommandHelp* help = nullptr;
    int start = 0;   // where the name begins in the line
    int length = 0;  // the name as written, its "(" included
};
CommandAtCaret commandAt(std::string_view line, int caret);

// Where the word that ends at `caret` begins: the prefix that completion replaces
// runs from there to the caret.
int wordStartBefore(std::string_view line, int caret);

// The names a program defines: the parameters of the name field's argument list,
// the names of Local, the labels of Lbl, and what Define defines (a function or a
// program keeps its "(", "f(").
enum class NameKind { Parameter, Local, Label, Defined };
struct ProgramName {
    std::string name;
    NameKind kind = NameKind::Local;
    int line = 0;         // editor line of its statement; 1 for a parameter
    std::string heading;  // the statement as a menu shows it: "Lbl top", "Define f(x)"
    bool operator==(const ProgramName&) const = default;
};
std::vector<ProgramName> programNames(std::string_view nameField, std::string_view editorText);

// The words completion offers for `prefix`: the program's own names and the
// catalogue's commands that start with it (ASCII letters in either case), sorted
// without regard to case, each word once. A command keeps its catalogue spelling.
struct Completion {
    std::string word;
    const CommandHelp* help = nullptr;  // null for the program's own names
};
std::vector<Completion> completionsFor(std::string_view prefix, const std::vector<ProgramName>& own);

// The two characters just typed before `caret` when they spell a calculator sign
// on a PC keyboard: "->" the store arrow →, ">=" ≥, "<=" ≤, "/=" and "!=" ≠.
// Inside a string they stay as typed (a string is shown as it is written); in a
// comment they are replaced as in the program.
struct Digraph {
    int start = 0;  // the first of the two characters
    unsigned char code = 0;
    bool operator==(const Digraph&) const = default;
};
std::optional<Digraph> digraphBefore(std::string_view line, int caret);

// True when `name` contains `typed`, letters compared without regard to case
// (ASCII and the accented letters); an empty `typed` is in every name.
bool nameContains(std::string_view name, std::string_view typed);

}  // namespace korvane
