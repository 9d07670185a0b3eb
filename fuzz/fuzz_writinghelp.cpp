// Feeds arbitrary bytes to the help while writing as a program's text (any file's
// text reaches it): the first line stands for the name field, the rest for the
// editor. Positions stay inside the text, the command found at a caret lies around
// it, every name the program defines is one completion offers, and a digraph is two
// characters before the caret.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/WritingHelp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find('\n');
    const std::string_view nameField = all.substr(0, cut == std::string_view::npos ? 0 : cut);
    const std::string_view text = cut == std::string_view::npos ? all : all.substr(cut + 1);

    const int lines = lineCount(text);
    const LineColumn end = lineColumnOf(text, static_cast<int>(text.size()));
    if (end.line < 1 || end.line > lines || end.column < 1) std::abort();

    for (const ProgramName& name : programNames(nameField, text)) {
        if (name.name.empty() || name.line < 1 || name.line > lines) std::abort();
        bool offered = false;
        for (const Completion& c : completionsFor(name.name, {name})) offered |= c.word == name.name;
        if (!offered) std::abort();
    }

    // Each line of the text, every caret in it (the first 300 characters).
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t lineEnd = std::min(text.find("\r\n", from), text.size());
        const std::string_view line = text.substr(from, lineEnd - from);
        for (int caret = 0; caret <= static_cast<int>(std::min<std::size_t>(line.size(), 300)); ++caret) {
            const CommandAtCaret at = commandAt(line, caret);
            if (at.help && (at.start < 0 || at.length <= 0 || at.start > caret || at.start + at.length < caret ||
                            at.start + at.length > static_cast<int>(line.size())))
                std::abort();
            const int start = wordStartBefore(line, caret);
            if (start < 0 || start > caret) std::abort();
            if (const auto d = digraphBefore(line, caret); d && d->start != caret - 2) std::abort();
        }
        from = lineEnd + 2;
    }
    return 0;
}
