#include "editor/WritingHelp.h"

#include <algorithm>

namespace korvane {
namespace {

constexpr unsigned char kComment = 0xA9;  // ©: the rest of the line is a comment
constexpr unsigned char kConvert = 0x12;  // ▸, which starts a conversion's name
constexpr unsigned char kStore = 0x16;    // →
constexpr unsigned char kLessEqual = 0x9C;
constexpr unsigned char kNotEqual = 0x9D;
constexpr unsigned char kGreaterEqual = 0x9E;

unsigned char at(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The accented capitals of the calculator's upper half sit 0x20 below their small
// letters, as in Latin-1; × is not a letter.
unsigned char foldLetter(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    return c;
}

bool startsFolded(std::string_view word, std::string_view prefix) {
    if (prefix.size() > word.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (foldAscii(word[i]) != foldAscii(prefix[i])) return false;
    return true;
}

std::string folded(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = foldAscii(c);
    return out;
}

// True when `offset` lies in code: outside the line's strings and before its comment.
bool inCode(std::string_view line, size_t offset) {
    bool inString = false;
    for (size_t i = 0; i < offset && i < line.size(); ++i) {
        if (line[i] == '"') inString = !inString;
        else if (!inString && at(line, i) == kComment) return false;
    }
    return !inString;
}

size_t skipBlanks(std::string_view s, size_t i) {
    while (i < s.size() && s[i] == ' ') ++i;
    return i;
}

std::string_view wordAt(std::string_view s, size_t i) {
    size_t end = i;
    while (end < s.size() && isWordCode(at(s, end))) ++end;
    return s.substr(i, end - i);
}

// `statement` begins with `keyword` (any case) followed by a blank.
bool opensWith(std::string_view statement, std::string_view keyword) {
    return statement.size() > keyword.size() && startsFolded(statement, keyword) &&
           statement[keyword.size()] == ' ';
}

// The statements of one line: split at the colons outside strings, up to its comment.
std::vector<std::string_view> statementsOf(std::string_view line) {
    std::vector<std::string_view> out;
    bool inString = false;
    size_t begin = 0;
    size_t i = 0;
    for (; i < line.size(); ++i) {
        if (line[i] == '"') inString = !inString;
        if (inString) continue;
        if (line[i] == ':' || at(line, i) == kComment) {
            out.push_back(line.substr(begin, i - begin));
            begin = i + 1;
            if (at(line, i) == kComment) return out;
        }
    }
    out.push_back(line.substr(begin));
    return out;
}

void addStatementNames(std::string_view statement, int line, std::vector<ProgramName>& out) {
    statement = statement.substr(skipBlanks(statement, 0));
    if (opensWith(statement, "Local")) {
        size_t i = 6;
        while (i < statement.size()) {
            i = skipBlanks(statement, i);
            const std::string_view name = wordAt(statement, i);
            if (!name.empty()) out.push_back({std::string(name), NameKind::Local, line, "Local " + std::string(name)});
            const size_t comma = statement.find(',', i);
            if (comma == std::string_view::npos) break;
            i = comma + 1;
        }
    } else if (opensWith(statement, "Lbl")) {
        const std::string_view name = wordAt(statement, skipBlanks(statement, 4));
        if (!name.empty()) out.push_back({std::string(name), NameKind::Label, line, "Lbl " + std::string(name)});
    } else if (opensWith(statement, "Define")) {
        const size_t start = skipBlanks(statement, 7);
        const std::string_view name = wordAt(statement, start);
        if (name.empty()) return;
        const size_t after = start + name.size();
        if (after < statement.size() && statement[after] == '(') {
            const size_t close = statement.find(')', after);
            const size_t headingEnd = close == std::string_view::npos ? statement.size() : close + 1;
            out.push_back({std::string(name) + "(", NameKind::Defined, line,
                           "Define " + std::string(statement.substr(start, headingEnd - start))});
        } else {
            out.push_back({std::string(name), NameKind::Defined, line, "Define " + std::string(name)});
        }
    }
}

}  // namespace

LineColumn lineColumnOf(std::string_view editorText, int position) {
    const size_t end = std::min(static_cast<size_t>(std::max(position, 0)), editorText.size());
    LineColumn lc;
    size_t lineStart = 0;
    for (size_t i = editorText.find("\r\n"); i != std::string_view::npos && i + 2 <= end;
         i = editorText.find("\r\n", i + 2)) {
        ++lc.line;
        lineStart = i + 2;
    }
    lc.column = static_cast<int>(end - lineStart) + 1;
    return lc;
}

int lineCount(std::string_view editorText) {
    int lines = 1;
    for (size_t i = editorText.find("\r\n"); i != std::string_view::npos; i = editorText.find("\r\n", i + 2)) ++lines;
    return lines;
}

bool isWordCode(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') return true;
    if (c >= 0x80 && c <= 0x94) return true;  // Greek letters
    if (c >= 0xC0 && c != 0xD7 && c != 0xF7) return true;  // accented letters
    return c == kConvert || c == 0xB4 || c == 0xA8 || c == 0xBC || c == 0xBD;
}

CommandAtCaret commandAt(std::string_view line, int caret) {
    if (caret < 0 || static_cast<size_t>(caret) > line.size()) return {};
    size_t anchor = static_cast<size_t>(caret);
    // Right after a function's "(": the name before it.
    if (anchor > 0 && line[anchor - 1] == '(') --anchor;
    size_t start = anchor;
    while (start > 0 && isWordCode(at(line, start - 1))) --start;
    size_t end = anchor;
    while (end < line.size() && isWordCode(at(line, end))) ++end;
    if (start == end || static_cast<size_t>(caret) <= start || !inCode(line, start)) return {};
    const size_t named = end + (end < line.size() && line[end] == '(' ? 1 : 0);
    // The whole word first, then from each ▸ in it that lies before the caret.
    for (size_t from = start; from < end && from < static_cast<size_t>(caret); ++from) {
        if (from != start && at(line, from) != kConvert) continue;
        if (const CommandHelp* help = commandHelpForWord(line.substr(from, named - from)))
            return {help, static_cast<int>(from), static_cast<int>(named - from)};
    }
    return {};
}

int wordStartBefore(std::string_view line, int caret) {
    size_t start = std::min(static_cast<size_t>(std::max(caret, 0)), line.size());
    while (start > 0 && isWordCode(at(line, start - 1))) --start;
    return static_cast<int>(start);
}

std::vector<ProgramName> programNames(std::string_view nameField, std::string_view editorText) {
    std::vector<ProgramName> out;
    const size_t open = nameField.find('(');
    if (open != std::string_view::npos) {
        const size_t close = nameField.find(')', open);
        const std::string_view args =
            nameField.substr(open + 1, (close == std::string_view::npos ? nameField.size() : close) - open - 1);
        size_t i = 0;
        while (i <= args.size()) {
            const std::string_view name = wordAt(args, skipBlanks(args, i));
            if (!name.empty()) out.push_back({std::string(name), NameKind::Parameter, 1, std::string(name)});
            const size_t comma = args.find(',', i);
            if (comma == std::string_view::npos) break;
            i = comma + 1;
        }
    }
    int line = 1;
    size_t begin = 0;
    while (begin <= editorText.size()) {
        const size_t end = editorText.find("\r\n", begin);
        const std::string_view text =
            editorText.substr(begin, (end == std::string_view::npos ? editorText.size() : end) - begin);
        for (std::string_view statement : statementsOf(text)) addStatementNames(statement, line, out);
        if (end == std::string_view::npos) break;
        begin = end + 2;
        ++line;
    }
    return out;
}

std::vector<Completion> completionsFor(std::string_view prefix, const std::vector<ProgramName>& own) {
    std::vector<Completion> found;
    for (const ProgramName& name : own)
        if (startsFolded(name.name, prefix)) found.push_back({name.name, nullptr});
    for (const CommandHelp& help : allCommandHelp())
        if (startsFolded(help.name, prefix)) found.push_back({std::string(help.name), &help});
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(found.size());
    for (size_t i = 0; i < found.size(); ++i) keys.emplace_back(folded(found[i].word), i);
    // Equal words keep the first found: the program's own spelling before a command's.
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Completion> out;
    for (size_t k = 0; k < keys.size(); ++k)
        if (k == 0 || keys[k].first != keys[k - 1].first) out.push_back(found[keys[k].second]);
    return out;
}

std::optional<Digraph> digraphBefore(std::string_view line, int caret) {
    if (caret < 2 || static_cast<size_t>(caret) > line.size()) return std::nullopt;
    const size_t start = static_cast<size_t>(caret) - 2;
    const char first = line[start];
    const char second = line[start + 1];
    unsigned char code = 0;
    if (first == '-' && second == '>') code = kStore;
    else if (first == '>' && second == '=') code = kGreaterEqual;
    else if (first == '<' && second == '=') code = kLessEqual;
    else if ((first == '/' || first == '!') && second == '=') code = kNotEqual;
    if (code == 0) return std::nullopt;
    bool inString = false;
    for (size_t i = 0; i < start; ++i)
        if (line[i] == '"') inString = !inString;
    if (inString) return std::nullopt;
    return Digraph{static_cast<int>(start), code};
}

bool nameContains(std::string_view name, std::string_view typed) {
    if (typed.empty()) return true;
    if (typed.size() > name.size()) return false;
    for (size_t i = 0; i + typed.size() <= name.size(); ++i) {
        size_t k = 0;
        while (k < typed.size() && foldLetter(at(name, i + k)) == foldLetter(at(typed, k))) ++k;
        if (k == typed.size()) return true;
    }
    return false;
}

}  // namespace korvane
