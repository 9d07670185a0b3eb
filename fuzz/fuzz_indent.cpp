// Indenting any text: the same lines with only their leading spaces changed,
// indenting again changes nothing, a caret lands inside the indented text; and the
// program text file's reader takes any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/Indent.h"
#include "files/ProgramTextFile.h"

namespace {

// The lines without their leading spaces, split as the indenting splits them.
std::vector<std::string> bodies(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    for (std::string& l : lines) l.erase(0, l.find_first_not_of(' ') == std::string::npos ? l.size() : l.find_first_not_of(' '));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int step = data[0] % 9;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string indented = korvane::indentProgram(text, step);
    if (korvane::indentProgram(indented, step) != indented) std::abort();
    if (bodies(indented) != bodies(text)) std::abort();
    const int found = korvane::indentStepOf(indented);
    if (found < 1) std::abort();
    const int position = static_cast<int>(data[0]) * 7 % (static_cast<int>(text.size()) + 1);
    const int moved = korvane::indentedPosition(text, indented, position);
    if (moved < 0 || moved > static_cast<int>(indented.size())) std::abort();
    (void)korvane::readProgramText(text, "fuzz.68kb");
    return 0;
}
