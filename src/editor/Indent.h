#pragma once
// Indenting a program by its blocks: each line's leading spaces become its block
// depth times a step. Only leading spaces change, which the calculator keeps per
// line (a tokenized line break stores the next line's count of leading spaces), so
// the tokens of an indented program are those of the original.
//
// Blocks: If ... Then / Else / ElseIf ... Then / EndIf, For / EndFor, While /
// EndWhile, Loop / EndLoop, Try / Else / EndTry, Define ...=Func / EndFunc and
// Define ...=Prgm / EndPrgm, Custom / EndCustm (or EndCustom), ToolBar / EndTBar, Dialog / EndDlog.
// The program's own Prgm or Func and its end stay at the left edge, as the
// calculator's editor shows them.
#include <string>

namespace korvane {

// The text with every line indented by `step` spaces a level (up to the 255 spaces
// a tokenized line break can hold). Lines end in CR LF or CR; a line feed alone is
// a character of its line. Indenting twice gives the same text as once.
std::string indentProgram(const std::string& editorText, int step);

// The step of the text's current indentation: the count of spaces a level that most
// of its indented lines follow, or 1 (the calculator editor's style) when no line
// is indented.
int indentStepOf(const std::string& editorText);

// Where a position of `text` stands in `indented`, the same text indented: on the
// same line, by the same character of the line's body (at the indentation's end
// when it stood in the leading spaces).
int indentedPosition(const std::string& text, const std::string& indented, int position);

}  // namespace korvane
