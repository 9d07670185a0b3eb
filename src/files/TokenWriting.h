#pragma once
// Writing the calculator's bytes: one tag, one name or integer, and a whole body of
// statements, last-lowest, with the jumps of its loops and what closes it.
#include <cstdint>
#include <string>
#include <vector>

#include "files/TokenTable.h"
#include "files/Tokens.h"

namespace korvane::tokenizing {

constexpr size_t kMaxVariableData = kMaxFileSize - kHeaderSize - 2;

Bytes tagBytes(const tokens::TagInfo& t);
// A variable's name: a one-letter tag for a single letter, else the name between NULs.
Bytes nameBytes(const std::string& name);
Bytes integerBytes(const std::string& magnitude, std::uint8_t tag);
// A literal integer alone: its magnitude bytes, their count, and the tag.
bool isIntegerLiteral(const Bytes& b, std::uint8_t tag);
// The value of a literal integer of at most 8 magnitude bytes.
std::uint64_t smallMagnitude(const Bytes& literal);
Bytes command(std::uint8_t value);

// One body statement and where it sits.
struct Item {
    Bytes statement;
    std::uint8_t indent = 0;
    bool newLine = true;
    int line = 0;
    bool thenMayFollow = false;  // "If c" or "ElseIf c", which a Then may follow on the next line
};

struct Jump {
    size_t from;  // item holding the jump command
    size_t to;    // item whose command tag the distance is measured to
};

struct Block {
    enum Kind { If, Try, Loop, Definition } kind;
    std::uint8_t endTag;  // for loops: the command that closes it
    size_t item;
    int line;
    std::vector<size_t> exits;  // Exit and Cycle items inside a loop
};

// The statements of a program or function. A function or program defined inside
// it ("Define f(x)=Func" ... "EndFunc") is stored inline, as ordinary statements.
struct Body {
    std::vector<Item> items;
    std::vector<Block> blocks;
    std::vector<Jump> jumps;
    bool function = false;
    std::vector<std::string> params;
};

// What closes every definition under its body: the parameter list, the flags and
// the program tag DC.
Bytes parametersAndFlags(const std::vector<std::string>& params, VariableFlags flags);

// A whole definition as the program tag DC closes it: the statements last-lowest,
// each under its separator, then Prgm or Func, the parameters and the flags.
Bytes definitionBytes(const Body& body, VariableFlags flags);

}  // namespace korvane::tokenizing
