#include "editor/Colouring.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace korvane {

const std::string_view motsBloc =
    " Prgm EndPrgm If Then Else EndIf ElseIf Try EndTry When For EndFor While EndWhile Loop EndLoop Custom "
    "EndCustom Func EndFunc Dialog EndDlog ToolBar EndTBar ";
const std::string_view motsInstr =
    " Text Request PopUp DropDown Title Item Disp Input InputStr Prompt Output getKey Send Get Pause Return Cycle "
    "Stop Exit SendCalc GetCalc SendChat Define DelVar Local Lock Unlock Archive Unarchiv ";

std::vector<std::string> keywordWords(std::string_view list) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && list[i] == ' ') ++i;
        const size_t start = i;
        while (i < list.size() && list[i] != ' ') ++i;
        if (i > start) words.emplace_back(list.substr(start, i - start));
    }
    return words;
}

namespace {

constexpr unsigned char kCommentMark = 0xA9;  // "©"
constexpr size_t kLongestKeyword = 9;         // "EndCustom"

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = asciiLower(c);
    return out;
}

struct Keyword {
    std::string canonical;
    const char* colourSwitch;
};

// Every keyword by its lower-case spelling. The two lists share no word, so the
// order in which the lists are searched never decides between them.
const std::unordered_map<std::string, Keyword>& keywordTable() {
    static const auto table = [] {
        std::unordered_map<std::string, Keyword> map;
        for (const auto& w : keywordWords(motsBloc)) map.emplace(lowered(w), Keyword{w, "\\cf2 "});
        for (const auto& w : keywordWords(motsInstr)) map.emplace(lowered(w), Keyword{w, "\\cf3 "});
        return map;
    }();
    return table;
}

bool isDelimiterChar(char c) { return c == ' ' || c == '(' || c == ')' || c == ',' || c == ':'; }

bool isLineBreakAt(std::string_view t, size_t i) { return i + 1 < t.size() && t[i] == '\r' && t[i + 1] == '\n'; }

bool isWordEnd(std::string_view t, size_t i) { return i == t.size() || isDelimiterChar(t[i]) || isLineBreakAt(t, i); }

bool isWordStart(std::string_view t, size_t i) {
    return isDelimiterChar(t[i - 1]) || (i >= 2 && t[i - 2] == '\r' && t[i - 1] == '\n');
}

void replaceAll(std::string& s, std::string_view from) {
    std::string out;
    out.reserve(s.size());
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) out.append(s, pos, hit - pos);
    out.append(s, pos, std::string::npos);
    s = std::move(out);
}

// The keyword pass over one line [begin, end) of the working text: every word that
// stands between delimiters, outside a string and after no apostrophe on its line,
// and that is a keyword, is written in its canonical form between colour switches.
void emitKeywords(std::string_view t, size_t begin, size_t end, int quotesBefore, bool apostropheBefore, std::string& out) {
    const auto& table = keywordTable();
    int quotes = quotesBefore;
    bool apostrophe = apostropheBefore;
    size_t i = begin;
    while (i < end) {
        if (i > 0 && isWordStart(t, i) && !apostrophe && quotes % 2 == 0) {
            size_t j = i;
            while (j < end && !isWordEnd(t, j) && j - i <= kLongestKeyword) ++j;
            if (j > i && j - i <= kLongestKeyword && isWordEnd(t, j)) {
                const auto it = table.find(lowered(t.substr(i, j - i)));
                if (it != table.end()) {
                    out += it->second.colourSwitch;
                    out += it->second.canonical;
                    out += "\\cf4 ";
                    i = j;
                    continue;
                }
            }
        }
        if (t[i] == '"') ++quotes;
        if (t[i] == '\'') apostrophe = true;
        // A CR without its LF (never in editor text, possible in a raw file) is a paragraph too.
        if (t[i] == '\r') out += "\\par ";
        else out += t[i];
        ++i;
    }
}

// Formats twice the font size as a plain decimal without trailing zeros.
bool fontSizePiece(const std::string& tailleText, std::string& n) {
    const char* begin = tailleText.c_str();
    char* end = nullptr;
    const double size = std::strtod(begin, &end);
    while (end && (*end == ' ')) ++end;
    if (end == begin || !end || *end != '\0' || !std::isfinite(size)) return false;
    std::array<char, 64> buffer{};
    const auto res = std::to_chars(buffer.data(), buffer.data() + buffer.size(), size * 2, std::chars_format::fixed);
    if (res.ec != std::errc()) return false;
    n.assign(buffer.data(), res.ptr);
    return true;
}

}  // namespace

std::string coloriserDocument(const std::string& text, const ColourTable& colours, const std::string& tailleText) {
    // The working text: RTF specials escaped, one space in front so that a keyword
    // at the very start has a delimiter before it.
    std::string t;
    t.reserve(text.size() + text.size() / 8 + 1);
    t += ' ';
    for (const char c : text) {
        if (c == '\\' || c == '{' || c == '}') t += '\\';
        t += c;
    }

    auto component = [](Rgb c, int shift) { return std::to_string((c >> shift) & 0xFF); };
    std::string doc;
    doc.reserve(t.size() * 2 + 256);
    doc += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Ti-89 JB;}}\r\n{\\colortbl ;";
    for (const Rgb c : {colours.comment, colours.bloc, colours.instr, colours.ordinary})
        doc += "\\red" + component(c, 16) + "\\green" + component(c, 8) + "\\blue" + component(c, 0) + ";";
    doc += "}\r\n";
    if (std::string n; fontSizePiece(tailleText, n)) doc += "\\viewkind4\\uc1\\pard\\lang1036\\f0\\fs" + n + " ";
    // The space put in front is never written: the first line starts after it.
    size_t lineStart = 1;
    while (lineStart <= t.size()) {
        size_t lineEnd = t.find("\r\n", lineStart);
        if (lineEnd == std::string::npos) lineEnd = t.size();

        // The comment starts at the first mark of the line that stands outside a string.
        size_t mark = lineEnd;
        int quotesBeforeMark = 0;
        bool apostropheBeforeMark = false;
        {
            int quotes = 0;
            bool apostrophe = false;
            for (size_t i = lineStart; i < lineEnd; ++i) {
                const auto c = static_cast<unsigned char>(t[i]);
                if (c == kCommentMark && quotes % 2 == 0) {
                    mark = i;
                    quotesBeforeMark = quotes;
                    apostropheBeforeMark = apostrophe;
                    break;
                }
                if (c == '"') ++quotes;
                if (c == '\'') apostrophe = true;
            }
        }

        emitKeywords(t, lineStart, mark, 0, false, doc);
        if (mark < lineEnd) {
            // Keywords in a comment keep their canonical form but lose their colour.
            std::string comment;
            emitKeywords(t, mark, lineEnd, quotesBeforeMark, apostropheBeforeMark, comment);
            replaceAll(comment, "\\cf2 ");
            replaceAll(comment, "\\cf3 ");
            replaceAll(comment, "\\cf4 ");
            doc += "\\cf1 ";
            doc += comment;
            doc += "\\cf4 ";
        }
        if (lineEnd == t.size()) break;
        doc += "\\par \n";
        lineStart = lineEnd + 2;
    }

    doc += "\\cf0\\fs24\r\n\\par }";
    return doc;
}

ParsedDocument parseColouringDocument(const std::string& document) {
    ParsedDocument parsed;
    std::vector<Rgb> table;  // entry 0 is the automatic colour
    std::vector<Rgb> colourOfChar;
    parsed.text.reserve(document.size());
    colourOfChar.reserve(document.size());

    Rgb current = kBlack;
    int depth = 0;
    int skipDepth = 0;  // inside the font table: nothing is text
    int colourTableDepth = 0;
    int red = 0, green = 0, blue = 0;

    const size_t n = document.size();
    for (size_t i = 0; i < n;) {
        const char c = document[i];
        if (c == '{') {
            ++depth;
            ++i;
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth) skipDepth = 0;
            if (depth == colourTableDepth) colourTableDepth = 0;
            --depth;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '\\' && i + 1 < n) {
            const char next = document[i + 1];
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
                size_t j = i + 1;
                while (j < n && ((document[j] >= 'a' && document[j] <= 'z') || (document[j] >= 'A' && document[j] <= 'Z'))) ++j;
                const std::string_view word(document.data() + i + 1, j - i - 1);
                size_t k = j;
                if (k < n && document[k] == '-') ++k;
                while (k < n && document[k] >= '0' && document[k] <= '9') ++k;
                int value = 0;
                const bool hasValue = k > j;
                if (hasValue) std::from_chars(document.data() + j, document.data() + k, value);
                if (k < n && document[k] == ' ') ++k;
                i = k;
                if (word == "fonttbl") {
                    skipDepth = depth;
                } else if (word == "colortbl") {
                    colourTableDepth = depth;
                } else if (colourTableDepth) {
                    if (word == "red") red = value;
                    if (word == "green") green = value;
                    if (word == "blue") blue = value;
                } else if (skipDepth) {
                } else if (word == "par") {
                    parsed.text += "\r\n";
                    colourOfChar.push_back(current);
                    colourOfChar.push_back(current);
                } else if (word == "cf") {
                    current = (hasValue && value >= 0 && value < static_cast<int>(table.size())) ? table[value] : kBlack;
                }
                continue;
            }
            // A control symbol: an escaped special stands for itself.
            i += 2;
            if (skipDepth || colourTableDepth) continue;
            parsed.text += next;
            colourOfChar.push_back(current);
            continue;
        }
        ++i;
        if (colourTableDepth) {
            if (c == ';') {
                table.push_back(rgb(red, green, blue));
                red = green = blue = 0;
            }
            continue;
        }
        if (skipDepth) continue;
        parsed.text += c;
        colourOfChar.push_back(current);
    }
    // The paragraph mark that closes the document is not a line of the text.
    if (parsed.text.size() >= 2 && parsed.text.compare(parsed.text.size() - 2, 2, "\r\n") == 0) {
        parsed.text.resize(parsed.text.size() - 2);
        colourOfChar.resize(colourOfChar.size() - 2);
    }
    for (size_t k = 0; k < colourOfChar.size(); ++k) {
        if (!parsed.runs.empty() && parsed.runs.back().colour == colourOfChar[k]) ++parsed.runs.back().length;
        else parsed.runs.push_back({static_cast<int>(k), 1, colourOfChar[k]});
    }
    return parsed;
}

ColouringChange colouringChangeFor(const std::string& text, const ParsedDocument& parsed) {
    ColouringChange change;
    if (parsed.text.size() != text.size()) return change;
    for (size_t i = 0; i < text.size();) {
        if (parsed.text[i] == text[i]) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && parsed.text[i] != text[i]) {
            if (asciiLower(parsed.text[i]) != asciiLower(text[i])) return {};
            ++i;
        }
        change.rewrites.push_back({static_cast<int>(start), parsed.text.substr(start, i - start)});
    }
    change.runs = parsed.runs;
    change.applicable = true;
    return change;
}

std::vector<ColourRun> coloursOfLines(const std::string& lines) {
    ParsedDocument parsed = parseColouringDocument(coloriserDocument(lines, ColourTable{}, ""));
    // Keywords read back in their canonical case: the length, and so every colour's
    // place, is that of the lines.
    if (parsed.text.size() != lines.size()) return {{0, static_cast<int>(lines.size()), ColourTable{}.ordinary}};
    return std::move(parsed.runs);
}

void coloriserTexte(TextEditor& editor, const ColourTable& colours, const std::string& tailleText) {
    const std::string text = editor.text();
    const ColouringChange change =
        colouringChangeFor(text, parseColouringDocument(coloriserDocument(text, colours, tailleText)));
    if (change.applicable) editor.applyColouring(change.rewrites, change.runs);
}

void colorierTout(TextEditor& editor, int& posCurseur, const std::string& tailleText) {
    posCurseur = editor.selectionStart();
    coloriserTexte(editor, ColourTable{}, tailleText);
    editor.setCaret(posCurseur);
}

}  // namespace korvane
