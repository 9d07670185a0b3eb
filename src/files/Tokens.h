#pragma once
// Tokenized TI-89 / TI-92 Plus programs and functions: the variable data that the
// calculator keeps once it has parsed a program, turned into the program text that
// its editor shows, and that text turned back into the same bytes.
//
// "Variable data" is what the 2-byte size word of a variable file counts: the bytes
// from offset 88 of the file up to its 2-byte check field.
//
// Program text has the shape of a text-form variable: the argument list in
// parentheses, then the lines separated by CR (0x0D), the second being "Prgm" or
// "Func" and the last "EndPrgm" or "EndFunc". Characters are calculator codes.
#include <string>

#include "files/VariableFile.h"

namespace korvane {

enum class ProgramKind { Program, Function };

struct DetokenizeResult {
    std::string text;
    ProgramKind kind = ProgramKind::Program;
    std::string error;  // empty on success
    bool oneExpression = false;  // a function stored in the one-expression form
    bool ok() const { return error.empty(); }
};

// The program text of tokenized variable data. Malformed data (truncated, an
// unknown tag, nesting deeper than the calculator could have written) gives an
// error and no text.
DetokenizeResult detokenize(const Bytes& variableData);

// True when variable data holds program text rather than tokens.
bool isProgramText(const Bytes& variableData);

struct TokenizeResult {
    Bytes data;  // variable data, without the size word
    ProgramKind kind = ProgramKind::Program;
    std::string error;  // "line N: ..." (in the message language) on failure, empty on success
    int line = 0;       // 1-based line of the error in the program text
    int column = -1;    // where on that line it stands (calculator codes), -1 when not known
    bool ok() const { return error.empty(); }
};

// The flag bytes under the final tag: in-use counter, Flag 2 (bit 0 locks the
// variable on transfer) and Flag 1. A new variable has all three clear.
struct VariableFlags {
    unsigned char inUse = 0;
    unsigned char flag2 = 0;
    unsigned char flag1 = 0;
    // A TI-92 (original) variable: its parser marks no local names.
    bool ti92 = false;
    // A function read in the one-expression form (Define f(x)=x^2) is written back in
    // it while its body is still one expression line; any other takes the Func form.
    bool oneExpression = false;
};

// The variable data of program text, as the calculator's parser writes it. The
// text decides the kind ("Prgm" or "Func" on its second line). Lines may end in
// CR, LF or CR LF.
TokenizeResult tokenize(const std::string& programText, VariableFlags flags = {});

}  // namespace korvane
