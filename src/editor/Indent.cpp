#include "editor/Indent.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <vector>

#include "editor/WritingHelp.h"
#include "files/TokenTable.h"

namespace korvane {
namespace {

constexpr int kMostLeadingSpaces = 255;  // what one tokenized line break can hold

enum class Role { Plain, Opens, Continues, Closes };

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isWordChar(char c) { return isWordCode(static_cast<unsigned char>(c)); }

bool sameWord(std::string_view word, std::string_view lowerCase) {
    return word.size() == lowerCase.size() &&
           std::equal(word.begin(), word.end(), lowerCase.begin(), [](char a, char b) { return lower(a) == b; });
}

bool isOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return sameWord(word, w); });
}

// What one statement (a line's text between ':' separators) does to the depth.
Role roleOf(std::string_view statement) {
    size_t a = 0;
    while (a < statement.size() && statement[a] == ' ') ++a;
    size_t b = a;
    while (b < statement.size() && isWordChar(statement[b])) ++b;
    const std::string_view first = statement.substr(a, b - a);
    if (first.empty()) return Role::Plain;

    size_t e = statement.size();
    while (e > a && statement[e - 1] == ' ') --e;
    size_t s = e;
    while (s > a && isWordChar(statement[s - 1])) --s;
    const std::string_view last = statement.substr(s, e - s);
    const bool lastAlone = s > b;  // the last word is not the first one

    if (isOneOf(first, {"for", "while", "loop", "try", "custom", "toolbar", "dialog", "then"})) return Role::Opens;
    if (isOneOf(first, {"else", "elseif"})) return Role::Continues;
    if (isOneOf(first, {"endif", "endfor", "endwhile", "endloop", "endtry", "endcustm", "endcustom", "endtbar", "enddlog",
                        "endfunc", "endprgm"}))
        return Role::Closes;
    if (lastAlone && sameWord(first, "if") && sameWord(last, "then")) return Role::Opens;
    if (lastAlone && sameWord(first, "define") && isOneOf(last, {"func", "prgm"})) return Role::Opens;
    return Role::Plain;
}

// The roles of a line's statements, in order; strings and the comment are skipped.
std::vector<Role> rolesOfLine(std::string_view line) {
    std::vector<Role> roles;
    bool inString = false;
    size_t start = 0;
    size_t end = line.size();
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            inString = !inString;
        } else if (!inString && c == tokens::ch::Copyright) {
            end = i;
            break;
        } else if (!inString && c == ':') {
            roles.push_back(roleOf(line.substr(start, i - start)));
            start = i + 1;
        }
    }
    roles.push_back(roleOf(line.substr(start, end - start)));
    return roles;
}

struct Line {
    std::string_view text;   // without its leading spaces and its line break
    std::string_view brk;    // CR LF, CR or nothing
    int leadingSpaces = 0;
    int level = 0;
};

std::vector<Line> linesWithLevels(const std::string& text) {
    std::vector<Line> lines;
    const std::string_view all(text);
    size_t pos = 0;
    int depth = 0;
    while (true) {
        const size_t cr = all.find('\r', pos);
        const size_t lineEnd = cr == std::string_view::npos ? all.size() : cr;
        size_t next = lineEnd;
        if (cr != std::string_view::npos) next = cr + (cr + 1 < all.size() && all[cr + 1] == '\n' ? 2 : 1);
        Line line;
        size_t body = pos;
        while (body < lineEnd && all[body] == ' ') ++body;
        line.leadingSpaces = static_cast<int>(body - pos);
        line.text = all.substr(body, lineEnd - body);
        line.brk = all.substr(lineEnd, next - lineEnd);

        // A line that starts by ending a block (EndIf, Else...) stands at the
        // level of the block's opening line.
        const std::vector<Role> roles = rolesOfLine(line.text);
        const bool leadsWithEnd = roles.front() == Role::Continues || roles.front() == Role::Closes;
        line.level = leadsWithEnd ? std::max(depth - 1, 0) : depth;
        for (Role r : roles) {
            if (r == Role::Opens) ++depth;
            if (r == Role::Closes) depth = std::max(depth - 1, 0);
        }
        lines.push_back(line);
        if (cr == std::string_view::npos) break;
        pos = next;
    }
    return lines;
}

}  // namespace

std::string indentProgram(const std::string& editorText, int step) {
    step = std::max(step, 0);
    std::string out;
    out.reserve(editorText.size() + editorText.size() / 8);
    std::string_view previousBreak;
    for (const Line& line : linesWithLevels(editorText)) {
        size_t spaces = static_cast<size_t>(std::min(line.level * step, kMostLeadingSpaces));
        // A line feed that starts a line after a lone CR keeps a space before it, or
        // the two would read as one CR LF line break.
        if (spaces == 0 && previousBreak == "\r" && !line.text.empty() && line.text.front() == '\n') spaces = 1;
        if (!line.text.empty()) out.append(spaces, ' ');
        out += line.text;
        out += line.brk;
        previousBreak = line.brk;
    }
    return out;
}

int indentedPosition(const std::string& text, const std::string& indented, int position) {
    const std::vector<Line> before = linesWithLevels(text);
    const std::vector<Line> after = linesWithLevels(indented);
    size_t start = 0;
    size_t newStart = 0;
    for (size_t k = 0; k < before.size() && k < after.size(); ++k) {
        const size_t lineEnd = start + before[k].leadingSpaces + before[k].text.size();
        if (static_cast<size_t>(position) <= lineEnd || k + 1 == before.size()) {
            const int column = position - static_cast<int>(start);
            const int body = std::max(column - before[k].leadingSpaces, 0);
            return static_cast<int>(newStart) + after[k].leadingSpaces + std::min(body, static_cast<int>(after[k].text.size()));
        }
        start = lineEnd + before[k].brk.size();
        newStart += after[k].leadingSpaces + after[k].text.size() + after[k].brk.size();
    }
    return static_cast<int>(indented.size());
}

int indentStepOf(const std::string& editorText) {
    std::map<int, int> votes;
    for (const Line& line : linesWithLevels(editorText))
        if (line.level > 0 && line.leadingSpaces > 0 && !line.text.empty() && line.leadingSpaces % line.level == 0)
            ++votes[line.leadingSpaces / line.level];
    int best = 1;
    int bestVotes = 0;
    for (const auto& [step, count] : votes)
        if (count > bestVotes) best = step, bestVotes = count;
    return best;
}

}  // namespace korvane
