#include "editor/Printing.h"

#include <algorithm>

namespace korvane {

std::vector<std::string> printedLines(const std::string& editorText) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < editorText.size(); ++i) {
        const char c = editorText[i];
        // A line feed alone is a calculator character (comments hold them), printed
        // by its stand-in as the editor shows it.
        if (c == '\r') {
            if (i + 1 < editorText.size() && editorText[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

std::vector<PrintedPage> paginate(int lineCount, int lineHeight, int top, int pageHeight) {
    const int perPage = lineHeight > 0 ? std::max(1, (pageHeight - top) / lineHeight) : 1;
    std::vector<PrintedPage> pages;
    for (int first = 0; first < lineCount; first += perPage) pages.push_back({first, std::min(perPage, lineCount - first)});
    if (pages.empty()) pages.push_back({0, 0});
    return pages;
}

}  // namespace korvane
