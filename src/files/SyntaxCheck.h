#pragma once
// Whether the calculator takes a program: the text in memory tokenized as a
// tokenized save would, with the first error and its line. Lines are counted as
// the editor shows them (line 1 is the first line of the editor text, which stands
// for the argument list; line 2 is "Prgm" or "Func").
#include <string>

#include "files/VariableFile.h"

namespace korvane {

struct SyntaxCheck {
    bool ok = true;
    int line = 0;         // 0 when the error belongs to no line (the folder field)
    std::string message;  // the error without its "line N: " prefix, in calculator codes
    int column = -1;      // where on that line the error stands (calculator codes), -1 when not known
};

// The check of the Document as the editor holds it.
SyntaxCheck checkSyntax(const VariableFileInput& document);

// The check of a program text ("(args)" line, then the lines, CR, LF or CR LF).
SyntaxCheck checkProgramText(const std::string& programText);

// The line of a tokenizer's error ("line N: ..." or "ligne N : ..."), 0 when it names none.
int lineOfError(const std::string& error);

// The offset in `editorText` where line `line` (1-based) begins; the text's end
// when it has fewer lines.
int lineStartOffset(const std::string& editorText, int line);

}  // namespace korvane
