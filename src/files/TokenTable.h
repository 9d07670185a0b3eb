#pragma once
// The tag tables of tokenized TI-89 / TI-92 Plus programs, held as data in one place
// and read by both the tokenizer and the detokenizer.
//
// Tokenized program data is postfix: every item ends with its tag (the highest
// byte) and its operands lie below it. A one-byte tag is "primary"; the prefixes
// 0xE3 and 0xE4 introduce a second byte naming a secondary function or a command,
// and 0x1C introduces a system variable.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvane::tokens {

enum class Space : std::uint8_t {
    Primary,    // one byte
    Secondary,  // xx E3
    Command,    // xx E4
    System,     // xx 1C
};

// How an item is written in program text.
enum class Shape : std::uint8_t {
    Function,       // spelling ends in "(": name(arg1,arg2,...)
    Command,        // keyword, then its arguments after a blank, separated by commas
    Word,           // a keyword or symbol with no operands (constants, system variables)
    Prefix,         // spelling, then the operand
    Postfix,        // operand, then the spelling
    InfixLeftLow,   // left operand stored lower: the right one lies next to the tag
    InfixLeftHigh,  // left operand stored next to the tag
    Special,        // payload or layout of its own, handled by the code
};

// Binding strength in program text, weakest first.
enum Precedence : std::uint8_t {
    kStatement = 0,
    kStore,
    kConvert,
    kWith,
    kOr,
    kAnd,
    kNot,
    kRelation,
    kAdd,
    kMultiply,
    kConcat,
    kNegate,
    kPower,
    kPostfix,
    kAtom,
};

enum TagFlag : std::uint8_t {
    kEndList = 1,     // a variable operand list closed by END (0xE5), even when empty
    kJump = 2,        // two displacement bytes (little-endian) lie under the tag
    kInternal = 4,    // never written by the calculator's own parser: read only
    kSemicolon = 8,   // arguments separated by ";" instead of ","
    kSpellingOnly = 16,  // another spelling the parser takes; the tag reads back as its first entry
};

struct TagInfo {
    Space space;
    std::uint8_t value;
    std::string_view spelling;  // calculator codes
    Shape shape;
    std::uint8_t minArgs;
    std::uint8_t maxArgs;
    std::uint8_t precedence;    // for operators
    std::uint8_t flags;

    bool has(TagFlag flag) const { return (flags & flag) != 0; }
};

// Every tag with a spelling, in table order (primary, secondary, command, system).
std::span<const TagInfo> allTags();

// The entry of a tag, or nullptr when the value has none.
const TagInfo* findTag(Space space, std::uint8_t value);

// How deeply items may nest (an operand of an operand of ...). It bounds the
// recursion on hostile input (300 levels stay well inside an 8 MB stack even with
// AddressSanitizer), and both directions share it so that whatever one writes the
// other reads.
constexpr int kMaxNesting = 300;
// Parameters of a program or function.
constexpr size_t kMaxParameters = 255;

// Byte values with a fixed meaning in the layout.
constexpr std::uint8_t kVarName = 0x00;
constexpr std::uint8_t kSystemTag = 0x1C;
constexpr std::uint8_t kArbReal = 0x1D;
constexpr std::uint8_t kArbInt = 0x1E;
constexpr std::uint8_t kPosInt = 0x1F;
constexpr std::uint8_t kNegInt = 0x20;
constexpr std::uint8_t kPosFrac = 0x21;
constexpr std::uint8_t kNegFrac = 0x22;
constexpr std::uint8_t kFloat = 0x23;
constexpr std::uint8_t kString = 0x2D;
constexpr std::uint8_t kNothing = 0x2E;
constexpr std::uint8_t kNegateTag = 0x7A;
constexpr std::uint8_t kStoreTag = 0x80;
constexpr std::uint8_t kMultiplyTag = 0x8F;
constexpr std::uint8_t kNegInfinityTag = 0x27;
constexpr std::uint8_t kInfinityTag = 0x28;
constexpr std::uint8_t kDivideTag = 0x91;
constexpr std::uint8_t kPowerTag = 0x93;
constexpr std::uint8_t kDms = 0xCD;
constexpr std::uint8_t kSubscript = 0xD5;
constexpr std::uint8_t kList = 0xD9;
constexpr std::uint8_t kUserCall = 0xDA;
constexpr std::uint8_t kUserDef = 0xDC;
constexpr std::uint8_t kSecondary = 0xE3;
constexpr std::uint8_t kCommand = 0xE4;
constexpr std::uint8_t kEnd = 0xE5;
constexpr std::uint8_t kComment = 0xE6;
constexpr std::uint8_t kNextStatement = 0xE7;
constexpr std::uint8_t kNewLine = 0xE8;
constexpr std::uint8_t kEndStack = 0xE9;
constexpr std::uint8_t kLocal = 0xF0;

// Secondary tags with a layout of their own.
constexpr std::uint8_t kIndirection = 0x01;
constexpr std::uint8_t kBinary = 0x2B;
constexpr std::uint8_t kHex = 0x2C;
constexpr std::uint8_t kPolarComplex = 0x26;

// Commands the code treats specially.
namespace cmd {
constexpr std::uint8_t Cycle = 0x07;
constexpr std::uint8_t Else = 0x0B;
constexpr std::uint8_t EndFor = 0x0E;
constexpr std::uint8_t EndFunc = 0x0F;
constexpr std::uint8_t EndIf = 0x10;
constexpr std::uint8_t EndLoop = 0x11;
constexpr std::uint8_t EndPrgm = 0x12;
constexpr std::uint8_t EndTry = 0x14;
constexpr std::uint8_t EndWhile = 0x15;
constexpr std::uint8_t Exit = 0x16;
constexpr std::uint8_t Func = 0x17;
constexpr std::uint8_t Loop = 0x18;
constexpr std::uint8_t Prgm = 0x19;
constexpr std::uint8_t Then = 0x1C;
constexpr std::uint8_t Try = 0x1F;
constexpr std::uint8_t ElseIf = 0x39;
constexpr std::uint8_t If = 0x3A;
constexpr std::uint8_t IfThen = 0x3B;
constexpr std::uint8_t While = 0x3D;
constexpr std::uint8_t For = 0x74;
constexpr std::uint8_t Local = 0x7D;
constexpr std::uint8_t Define = 0x86;
constexpr std::uint8_t ElseTry = 0x87;
}  // namespace cmd

// Characters of the calculator's set that the syntax uses.
namespace ch {
constexpr char Convert = '\x12';   // ►
constexpr char Store = '\x16';     // →
constexpr char Theta = '\x88';     // θ
constexpr char Pi = '\x8C';        // π
constexpr char Exponent = '\x95';  // the E of scientific notation
constexpr char LessEq = '\x9C';    // ≤
constexpr char NotEq = '\x9D';     // ≠
constexpr char GreaterEq = '\x9E'; // ≥
constexpr char Angle = '\x9F';     // ∠
constexpr char Copyright = '\xA9'; // © starts a comment
constexpr char Negate = '\xAD';    // ⁻ negation
constexpr char Squared = '\xB2';   // x² is stored as x^2
constexpr char Cubed = '\xB3';     // x³ as x^3
constexpr char Inverse = '\xB4';   // x⁻¹ as x^-1; also the mark of sin⁻¹( and the other inverse functions
constexpr char Degree = '\xB0';    // °
}  // namespace ch

}  // namespace korvane::tokens
