#include "lsp/LspProgram.h"

#include <algorithm>
#include <cctype>

#include "editor/CharTable.h"
#include "files/Document.h"
#include "files/Messages.h"
#include "files/SyntaxCheck.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"

namespace korvane {
namespace {

constexpr unsigned char kComment = 0xA9;  // ©: the rest of the line is a comment
constexpr unsigned char kStore = 0x16;    // →

// One code point of UTF-8 at `i` (a bad byte stands for itself, U+FFFD).
char32_t decodeAt(std::string_view s, std::size_t& i) {
    const unsigned char b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    char32_t cp = b & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

bool sameFolded(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isWord(const std::string& s, int i) { return i >= 0 && i < static_cast<int>(s.size()) && isWordCode(s[i]); }

// The statements of a line, split at the colons outside strings, up to its comment:
// [start, end) pairs in codes.
std::vector<std::pair<int, int>> statementsOf(const std::string& line) {
    std::vector<std::pair<int, int>> out;
    int start = 0;
    bool inString = false;
    int i = 0;
    for (; i < static_cast<int>(line.size()); ++i) {
        const unsigned char c = line[i];
        if (c == '"') inString = !inString;
        if (inString) continue;
        if (c == kComment) break;
        if (c == ':') {
            out.emplace_back(start, i);
            start = i + 1;
        }
    }
    out.emplace_back(start, i);
    return out;
}

// The words of a line outside strings and comments: [start, start + length).
std::vector<std::pair<int, int>> wordsOf(const std::string& line) {
    std::vector<std::pair<int, int>> out;
    bool inString = false;
    for (int i = 0; i < static_cast<int>(line.size());) {
        const unsigned char c = line[i];
        if (c == '"') inString = !inString;
        if (!inString && c == kComment) break;
        if (inString || !isWordCode(c)) {
            ++i;
            continue;
        }
        int end = i;
        while (isWord(line, end)) ++end;
        out.emplace_back(i, end - i);
        i = end;
    }
    return out;
}

// The words of one statement, in order.
std::vector<std::pair<int, int>> wordsIn(const std::string& line, std::pair<int, int> statement) {
    std::vector<std::pair<int, int>> out;
    for (const auto& w : wordsOf(line))
        if (w.first >= statement.first && w.first + w.second <= statement.second) out.push_back(w);
    return out;
}

std::string_view wordText(const std::string& line, std::pair<int, int> w) {
    return std::string_view(line).substr(w.first, w.second);
}

// The name of a definition without the "(" of a function.
std::string bareName(std::string name) {
    if (!name.empty() && name.back() == '(') name.pop_back();
    return name;
}

struct BlockWords {
    const char* open;
    const char* close;
};
constexpr BlockWords kBlocks[] = {
    {"If", "EndIf"},         {"For", "EndFor"},      {"While", "EndWhile"}, {"Loop", "EndLoop"},
    {"Try", "EndTry"},       {"Prgm", "EndPrgm"},    {"Func", "EndFunc"},   {"Custom", "EndCustm"},
    {"ToolBar", "EndTBar"},  {"Dialog", "EndDlog"},
};

// A block's opening word for a statement, or null: If only with its Then, Func and
// Prgm also at the end of a Define.
const char* openingOf(const std::string& line, const std::vector<std::pair<int, int>>& words) {
    if (words.empty()) return nullptr;
    const std::string_view first = wordText(line, words.front());
    const std::string_view last = wordText(line, words.back());
    if (sameFolded(first, "If") || sameFolded(first, "Then")) return sameFolded(last, "Then") ? "If" : nullptr;
    for (const BlockWords& b : kBlocks)
        if (sameFolded(first, b.open) && !sameFolded(first, "If")) return b.open;
    if (sameFolded(first, "Define") && (sameFolded(last, "Func") || sameFolded(last, "Prgm")))
        return sameFolded(last, "Func") ? "Func" : "Prgm";
    return nullptr;
}

const BlockWords* closingOf(const std::string& line, const std::vector<std::pair<int, int>>& words) {
    if (words.empty()) return nullptr;
    const std::string_view first = wordText(line, words.front());
    for (const BlockWords& b : kBlocks)
        if (sameFolded(first, b.close)) return &b;
    return nullptr;
}

struct BlockScan {
    std::vector<LineSpan> blocks;
    std::vector<WordSpan> unopened;  // End... words without their opening
};

BlockScan scanBlocks(const ProgramDocument& doc) {
    BlockScan scan;
    struct Open {
        const char* word;
        int line;
    };
    std::vector<Open> stack;
    for (int l = doc.firstProgramLine(); l < doc.lineCount(); ++l) {
        const std::string& line = doc.codes(l);
        for (const auto& statement : statementsOf(line)) {
            const auto words = wordsIn(line, statement);
            if (const char* open = openingOf(line, words)) {
                // "If c" then "Then" on its own: the If line opened the block.
                const bool thenAlone = sameFolded(wordText(line, words.front()), "Then");
                stack.push_back({open, thenAlone && l > 0 ? l - 1 : l});
            } else if (const BlockWords* close = closingOf(line, words)) {
                auto match = std::find_if(stack.rbegin(), stack.rend(),
                                          [close](const Open& o) { return sameFolded(o.word, close->open); });
                if (match == stack.rend()) {
                    scan.unopened.push_back({l, words.front().first, words.front().second});
                    continue;
                }
                if (l > match->line) scan.blocks.push_back({match->line, l});
                stack.erase(std::prev(match.base()), stack.end());
            }
        }
    }
    std::sort(scan.blocks.begin(), scan.blocks.end(),
              [](const LineSpan& a, const LineSpan& b) { return a.start != b.start ? a.start < b.start : a.end > b.end; });
    return scan;
}

// The place of `name` as its statement on editor line `editorLine` writes it.
WordSpan spanOfName(const ProgramDocument& doc, const ProgramName& name) {
    const int line = name.kind == NameKind::Parameter ? 0 : doc.documentLineOf(name.line);
    const std::string bare = bareName(name.name);
    const std::string& codes = doc.codes(line);
    int from = 0;
    if (name.kind == NameKind::Parameter) from = static_cast<int>(std::min(codes.find('('), codes.size()));
    for (const auto& w : wordsOf(codes))
        if (w.first >= from && sameFolded(wordText(codes, w), bare)) return {line, w.first, w.second};
    return {line, 0, static_cast<int>(codes.size())};
}

Diagnostic warningAt(const ProgramDocument& doc, const WordSpan& span, std::string message) {
    return {doc.rangeOf(span.line, span.start, span.length), Severity::Warning, std::move(message)};
}

}  // namespace

ProgramDocument::ProgramDocument(std::string_view utf8) {
    std::size_t i = 0;
    lines_.emplace_back();
    while (i < utf8.size()) {
        Line& line = lines_.back();
        const char32_t cp = decodeAt(utf8, i);
        if (cp == '\r' || cp == '\n') {
            if (cp == '\r' && i < utf8.size() && utf8[i] == '\n') ++i;
            lines_.emplace_back();
            continue;
        }
        // Where this character begins: the units of the codes and dropped characters before it.
        int start = line.columns.empty() ? 0 : line.columns.back();
        if (!line.columns.empty()) line.columns.pop_back();
        const int units = cp >= 0x10000 ? 2 : 1;
        std::optional<unsigned char> code;
        int width = units;
        if (cp == static_cast<char32_t>(kInverseReadable[0])) {
            std::size_t next = i;
            if (next < utf8.size() && decodeAt(utf8, next) == static_cast<char32_t>(kInverseReadable[1])) {
                code = kInverseCode;
                width = 2;
                i = next;
            }
        }
        if (!code && cp < 0x10000) code = codeOfTypedUnit(static_cast<char16_t>(cp));
        if (code) {
            line.codes += static_cast<char>(*code);
            line.columns.push_back(start);
        }
        line.columns.push_back(start + width);
    }
    for (Line& line : lines_)
        if (line.columns.empty()) line.columns.push_back(0);

    // The document as the syntax check reads it, as `korvane-tool pack` reads it.
    const std::string& first = lines_.front().codes;
    const std::size_t blank = first.find_first_not_of(' ');
    std::string firstWord = blank == std::string::npos ? std::string() : first.substr(blank);
    firstWord = firstWord.substr(0, firstWord.find_first_of(" :"));
    hasNameLine_ = !(sameFolded(firstWord, "Prgm") || sameFolded(firstWord, "Func"));
    std::string text;
    for (std::size_t l = hasNameLine_ ? 1 : 0; l < lines_.size(); ++l) text += "\r\n" + lines_[l].codes;
    editorText_ = std::move(text);
    if (hasNameLine_) {
        nameField_ = first;
        const std::size_t slash = nameField_.find('\\');
        if (slash != std::string::npos && slash < nameField_.find('(')) {
            folder_ = nameField_.substr(0, slash);
            nameField_.erase(0, slash + 1);
        }
    }
    if (nameField_.empty()) nameField_ = kNewName;
    if (nameField_.find('(') == std::string::npos) nameField_ += "()";
    if (folder_.empty()) folder_ = kNewFolder;
    const std::string& kindLine = codes(firstProgramLine());
    const std::size_t k = kindLine.find_first_not_of(' ');
    function_ = k != std::string::npos && sameFolded(kindLine.substr(k, 4), "Func");
}

const std::string& ProgramDocument::codes(int line) const {
    static const std::string none;
    return line >= 0 && line < lineCount() ? lines_[line].codes : none;
}

int ProgramDocument::columnOf(int line, int index) const {
    if (line < 0 || line >= lineCount()) return 0;
    const std::vector<int>& columns = lines_[line].columns;
    return columns[std::clamp(index, 0, static_cast<int>(columns.size()) - 1)];
}

int ProgramDocument::indexOf(int line, int character) const {
    if (line < 0 || line >= lineCount()) return 0;
    const std::vector<int>& columns = lines_[line].columns;
    const auto at = std::lower_bound(columns.begin(), columns.end(), character);
    return static_cast<int>(std::min(at - columns.begin(), static_cast<std::ptrdiff_t>(columns.size()) - 1));
}

TextRange ProgramDocument::rangeOf(int line, int start, int length) const {
    return {{line, columnOf(line, start)}, {line, columnOf(line, start + length)}};
}

std::vector<Diagnostic> diagnosticsOf(const ProgramDocument& doc) {
    std::vector<Diagnostic> out;
    Bytes header = newDocumentHeader();
    if (doc.isFunction()) header[layout::kType] = static_cast<char>(kFunctionTypeId);
    const SyntaxCheck check = checkSyntax({doc.nameField(), doc.folder(), doc.editorText(), header,
                                           trailerFor(doc.isFunction() ? ProgramKind::Function : ProgramKind::Program)});
    int errorLine = -1;
    if (!check.ok) {
        errorLine = check.line > 0 ? std::clamp(doc.documentLineOf(check.line), 0, doc.lineCount() - 1) : 0;
        const std::string& codes = doc.codes(errorLine);
        // From where the check stopped to the line's end; the whole line's text when
        // the check knows no place on it.
        std::size_t start = std::min(codes.find_first_not_of(' '), codes.size());
        // An error found at the line's end marks its last character.
        if (check.column >= 0 && !codes.empty())
            start = std::min(static_cast<std::size_t>(check.column), codes.size() - 1);
        out.push_back({doc.rangeOf(errorLine, static_cast<int>(start), static_cast<int>(codes.size() - start)),
                       Severity::Error, calcToUtf8(check.message)});
    }

    const std::vector<ProgramSymbol> symbols = symbolsOf(doc);
    std::vector<std::string> labels;
    for (const ProgramSymbol& s : symbols) {
        const std::string bare = bareName(s.name.name);
        if (static_cast<int>(bare.size()) > kNameLimit && s.span.line != errorLine)
            out.push_back(warningAt(doc, s.span, message(MessageId::NameTooLong, {calcToUtf8(bare)})));
        if (s.name.kind == NameKind::Label) {
            const bool twice = std::any_of(labels.begin(), labels.end(), [&](const std::string& l) { return sameFolded(l, bare); });
            if (twice) out.push_back(warningAt(doc, s.span, message(MessageId::LabelDefinedTwice, {calcToUtf8(bare)})));
            labels.push_back(bare);
        }
        if (s.name.kind == NameKind::Local && occurrencesOf(doc, bare).size() <= 1)
            out.push_back(warningAt(doc, s.span, message(MessageId::LocalNeverUsed, {calcToUtf8(bare)})));
    }
    for (int l = doc.firstProgramLine(); l < doc.lineCount(); ++l) {
        const std::string& line = doc.codes(l);
        for (const auto& statement : statementsOf(line)) {
            const auto words = wordsIn(line, statement);
            if (words.size() >= 2 && sameFolded(wordText(line, words[0]), "Goto")) {
                const std::string_view target = wordText(line, words[1]);
                if (std::none_of(labels.begin(), labels.end(), [&](const std::string& s) { return sameFolded(s, target); }))
                    out.push_back(warningAt(doc, {l, words[1].first, words[1].second},
                                            message(MessageId::LabelNotDefined, {calcToUtf8(std::string(target))})));
            }
            // A name stored into with → is a name the calculator creates.
            for (std::size_t w = 0; w < words.size(); ++w) {
                const int before = words[w].first - 1;
                if (before < statement.first || static_cast<unsigned char>(line[before]) != kStore) continue;
                if (words[w].second > kNameLimit && l != errorLine)
                    out.push_back(warningAt(doc, {l, words[w].first, words[w].second},
                                            message(MessageId::NameTooLong, {calcToUtf8(std::string(wordText(line, words[w])))})));
            }
        }
    }
    for (const WordSpan& end : scanBlocks(doc).unopened) {
        if (end.line == errorLine) continue;
        const std::string word(wordText(doc.codes(end.line), {end.start, end.length}));
        const char* open = "";
        for (const BlockWords& b : kBlocks)
            if (sameFolded(word, b.close)) open = b.open;
        out.push_back(warningAt(doc, end, message(MessageId::EndWithout, {calcToUtf8(word), open})));
    }
    return out;
}

std::vector<LineSpan> blocksOf(const ProgramDocument& doc) { return scanBlocks(doc).blocks; }

std::optional<WordSpan> wordAt(const ProgramDocument& doc, int line, int index) {
    const std::string& codes = doc.codes(line);
    for (const auto& w : wordsOf(codes))
        if (index >= w.first && index <= w.first + w.second) return WordSpan{line, w.first, w.second};
    return std::nullopt;
}

std::vector<WordSpan> occurrencesOf(const ProgramDocument& doc, std::string_view name) {
    std::vector<WordSpan> out;
    if (name.empty()) return out;
    for (int l = 0; l < doc.lineCount(); ++l) {
        const std::string& codes = doc.codes(l);
        if (codes.size() < name.size()) continue;
        for (const auto& w : wordsOf(codes))
            if (sameFolded(wordText(codes, w), name)) out.push_back({l, w.first, w.second});
    }
    return out;
}

std::vector<ProgramSymbol> symbolsOf(const ProgramDocument& doc) {
    std::vector<ProgramSymbol> out;
    for (ProgramName& name : programNames(doc.nameField(), doc.editorText())) {
        const WordSpan span = spanOfName(doc, name);
        out.push_back({std::move(name), span});
    }
    return out;
}

std::optional<ProgramSymbol> definitionAt(const ProgramDocument& doc, int line, int index) {
    const std::optional<WordSpan> word = wordAt(doc, line, index);
    if (!word) return std::nullopt;
    const std::string_view text = std::string_view(doc.codes(line)).substr(word->start, word->length);
    for (ProgramSymbol& s : symbolsOf(doc))
        if (sameFolded(bareName(s.name.name), text)) return std::move(s);
    return std::nullopt;
}

CompletionAt completionAt(const ProgramDocument& doc, int line, int index) {
    const std::string& codes = doc.codes(line);
    index = std::clamp(index, 0, static_cast<int>(codes.size()));
    CompletionAt at;
    at.start = wordStartBefore(codes, index);
    at.words = completionsFor(std::string_view(codes).substr(at.start, index - at.start),
                              programNames(doc.nameField(), doc.editorText()));
    return at;
}

std::optional<SignatureAt> signatureAt(const ProgramDocument& doc, int line, int index) {
    const std::string& codes = doc.codes(line);
    index = std::clamp(index, 0, static_cast<int>(codes.size()));
    // The innermost parenthesis still open before the place, and the commas after it.
    std::vector<std::pair<int, int>> open;  // its index, commas seen
    bool inString = false;
    for (int i = 0; i < index; ++i) {
        const unsigned char c = codes[i];
        if (c == '"') inString = !inString;
        if (inString) continue;
        if (c == kComment) return std::nullopt;
        if (c == '(' || c == '{' || c == '[') open.emplace_back(c == '(' ? i : -1, 0);
        else if ((c == ')' || c == '}' || c == ']') && !open.empty()) open.pop_back();
        else if (c == ',' && !open.empty()) ++open.back().second;
    }
    if (inString) return std::nullopt;
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (it->first < 0) continue;
        const CommandAtCaret command = commandAt(codes, it->first + 1);
        if (!command.help || command.start + command.length != it->first + 1) return std::nullopt;
        return SignatureAt{command.help, it->second};
    }
    return std::nullopt;
}

std::vector<std::string> parametersOf(std::string_view syntax) {
    std::vector<std::string> out;
    const std::size_t open = syntax.find('(');
    const std::size_t close = syntax.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open) return out;
    const std::string_view inside = syntax.substr(open + 1, close - open - 1);
    std::vector<std::string> pieces(1);
    int depth = 0;
    for (const char c : inside) {
        if (c == '(' || c == '{') ++depth;
        if (c == ')' || c == '}') --depth;
        if (c == ',' && depth == 0) pieces.emplace_back();
        else pieces.back() += c;
    }
    bool optional = false;
    for (std::string piece : pieces) {
        const bool opensOptional = piece.find('[') != std::string::npos;
        std::erase(piece, '[');
        std::erase(piece, ']');
        const std::size_t a = piece.find_first_not_of(' '), b = piece.find_last_not_of(' ');
        piece = a == std::string::npos ? std::string() : piece.substr(a, b - a + 1);
        if (piece.empty() && !opensOptional) continue;
        if (!piece.empty()) out.push_back(optional ? "[" + piece + "]" : piece);
        if (opensOptional) optional = true;
    }
    return out;
}

bool isNameText(std::string_view codes) {
    if (codes.empty() || static_cast<int>(codes.size()) > kNameLimit) return false;
    if (codes.front() >= '0' && codes.front() <= '9') return false;
    return std::all_of(codes.begin(), codes.end(), [](char c) { return isWordCode(static_cast<unsigned char>(c)); });
}

}  // namespace korvane
