#pragma once
// How the program text is laid out on printed pages: every line of the editor text,
// protected lines included, one below the other from a fixed start on each page,
// and a new page before a line that would not fit whole.
#include <string>
#include <vector>

namespace korvane {

// The text starts this far from the left and top of the printable area.
constexpr int kPrintLeftTwips = 1000;
constexpr int kPrintTopTwips = 500;

// The sizes offered for the print, in points, and the one selected at first.
inline const std::vector<std::string> kPrintSizes{"8", "10", "11", "12"};
constexpr int kDefaultPrintSize = 10;

// The lines of an editor text, broken where the editor breaks them: at CR LF or a
// lone CR. The text's first line break, which ends the name line, gives an empty
// first line.
std::vector<std::string> printedLines(const std::string& editorText);

// One printed page: the lines [first, first + count).
struct PrintedPage {
    int first = 0;
    int count = 0;
    bool operator==(const PrintedPage&) const = default;
};

// Cuts `lineCount` lines of `lineHeight` into pages whose text runs from `top` to
// `pageHeight` (same unit). A page too short for one line still takes one, so that
// no line is ever lost. An empty text gives one empty page.
std::vector<PrintedPage> paginate(int lineCount, int lineHeight, int top, int pageHeight);

}  // namespace korvane
