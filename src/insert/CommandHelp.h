#pragma once
// What each command and function of the catalogue takes and does: its argument
// syntax as the calculator's guidebook writes it, whether it is a statement, a
// function or an operator, and one line of description in French and in English.
// All text is calculator codes, so a catalogue row is looked up as it stands.
#include <span>
#include <string_view>

namespace korvane {

enum class CommandKind {
    Statement,  // an instruction standing on its own in a program line
    Function,   // returns a value inside an expression; its name ends with "("
    Operator,   // written between or after operands: and, not, ▸DMS...
};

struct CommandHelp {
    std::string_view name;    // the catalogue's row, e.g. "abs(" or "For"
    std::string_view syntax;  // e.g. "For var, low, high [, step]"
    CommandKind kind;
    std::string_view french;
    std::string_view english;
};

// Every entry, in the catalogue's order.
std::span<const CommandHelp> allCommandHelp();

// The entry whose name is exactly `catalogueRow` ("abs(", not "abs"), if any.
const CommandHelp* findCommandHelp(std::string_view catalogueRow);

// The entry for a word typed in the editor, with or without its "(": "abs" and
// "abs(" both find "abs(". ASCII letters match in either case, as the calculator
// reads command names; other codes must match exactly.
const CommandHelp* commandHelpForWord(std::string_view word);

// The description in the interface language.
constexpr std::string_view commandLine(const CommandHelp& help, bool french) {
    return french ? help.french : help.english;
}

}  // namespace korvane
