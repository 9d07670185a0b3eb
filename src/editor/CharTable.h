#pragma once
// The calculator's 256 character codes and the one UTF-16 unit that stands for each
// on the desktop. Program text in the core is always a std::string of calculator
// codes; only widgets, the clipboard and the command-line output convert.
#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

// The UTF-16 unit drawn for a calculator code. Every code has exactly one unit and
// no two codes share one, so a round trip through the desktop loses nothing.
char16_t unitOfCode(unsigned char code);

// The calculator code of a UTF-16 unit, if the table has it.
std::optional<unsigned char> codeOfUnit(char16_t unit);

// A typed or pasted unit that the table lacks, mapped to its obvious plain
// stand-in (Tab to a space, curly quotes to straight ones); nothing otherwise.
std::optional<unsigned char> codeOfTypedUnit(char16_t unit);

// Code 180, the inverse mark, is ⁻¹ (sin⁻¹(, x⁻¹). Its one unit, the one that
// libticonv gives it, is U+00B4; wherever text leaves the one-unit-per-code form (the
// clipboard, lists, UTF-8 output) it is written as the two characters ⁻¹, and that
// pair reads back as code 180.
constexpr unsigned char kInverseCode = 0xB4;
constexpr char16_t kInverseReadable[2] = {0x207B, 0x00B9};

// Editor text (CR LF line breaks) to UTF-8 with "\n" line breaks, for readable output.
std::string calcToUtf8(const std::string& calc);

// UTF-8 text to calculator codes: CR LF, lone CR and lone LF all become CR LF; ⁻¹
// becomes code 180; characters without a code take their plain stand-in or are dropped. Returns the
// number of dropped characters through `dropped` when given.
std::string utf8ToCalc(const std::string& utf8, int* dropped = nullptr);

// Any mix of CR LF, lone CR and lone LF made into CR LF pairs.
std::string normaliseLineBreaks(const std::string& text);

}  // namespace korvane
