#include "files/LinkText.h"

#include <array>
#include <cstdio>
#include <vector>

#include "editor/CharTable.h"
#include "files/Document.h"
#include "files/Messages.h"
#include "files/Tokens.h"
#include "files/VariableTable.h"

namespace korvane {
namespace {

struct Escape {
    unsigned char code;
    std::string_view name;
};

// The link software's names of the calculator's characters beyond ASCII. Codes it
// has no name for are written as they are.
constexpr Escape kEscapes[] = {
    {0x12, "to"},      {0x16, "->"},        {0x80, "alpha"},   {0x81, "beta"},    {0x82, "Gamma"},
    {0x83, "gamma"},   {0x84, "Delta"},     {0x85, "delta"},   {0x86, "epsilon"}, {0x87, "zeta"},
    {0x88, "theta"},   {0x89, "lambda"},    {0x8A, "xi"},      {0x8B, "Pi"},      {0x8C, "pi"},
    {0x8D, "rho"},     {0x8E, "Sigma"},     {0x8F, "sigma"},   {0x90, "tau"},     {0x91, "phi"},
    {0x92, "psi"},     {0x93, "Omega"},     {0x94, "omega"},   {0x95, "ee"},      {0x96, "e"},
    {0x97, "i"},       {0x98, "r"},         {0x99, "t"},       {0x9A, "xmean"},   {0x9B, "ymean"},
    {0x9C, "<="},      {0x9D, "!="},        {0x9E, ">="},      {0x9F, "/_"},      {0xA8, "root"},
    {0xA9, "(C)"},     {0xAD, "(-)"},       {0xB0, "o"},       {0xB2, "^2"},      {0xB3, "^3"},
    {0xB4, "^-1"},     {0xB5, "mu"},        {0xBC, "diff"},    {0xBD, "integral"}, {0xBE, "infinity"},
};

// The longest escape name, to bound the search for a closing backslash.
constexpr std::size_t kLongestName = 8;

const std::array<std::string_view, 256>& namesByCode() {
    static const std::array<std::string_view, 256> names = [] {
        std::array<std::string_view, 256> n{};
        for (const Escape& e : kEscapes) n[e.code] = e.name;
        return n;
    }();
    return names;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

bool headerValue(std::string_view line, std::string_view key, std::string& value) {
    if (line.substr(0, key.size()) != key) return false;
    value = std::string(line.substr(key.size()));
    return true;
}

// The length of the UTF-8 sequence at `i`, or 0 when it is not a well-formed one
// (overlong forms, surrogates and code points past U+10FFFF are not).
std::size_t utf8SequenceAt(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t length = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > s.size()) return 0;
    cp = length == 1 ? b0 : b0 & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool isUtf8BeyondAscii(std::string_view s) {
    bool beyond = false;
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8SequenceAt(s, i, cp);
        if (length == 0) return false;
        beyond = beyond || length > 1;
        i += length;
    }
    return beyond;
}

std::string codePointName(char32_t cp) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

}  // namespace

OutsideText readOutsideText(std::string_view bytes) {
    OutsideText result;
    if (!isUtf8BeyondAscii(bytes)) {
        result.text = normaliseLineBreaks(std::string(bytes));
        return result;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8SequenceAt(bytes, i, cp);
        const std::string_view sequence = bytes.substr(i, length);
        i += length;
        if (cp == '\r' || cp == '\n') {
            result.text += "\r\n";
            if (cp == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
            ++line;
            column = 1;
            continue;
        }
        // ⁻¹ is two characters in UTF-8 and one calculator code.
        if (cp == kInverseReadable[0]) {
            char32_t next = 0;
            const std::size_t nextLength = i < bytes.size() ? utf8SequenceAt(bytes, i, next) : 0;
            if (nextLength > 0 && next == kInverseReadable[1]) {
                result.text += static_cast<char>(kInverseCode);
                i += nextLength;
                column += 2;
                continue;
            }
        }
        const std::optional<unsigned char> code =
            cp < 0x10000 ? codeOfTypedUnit(static_cast<char16_t>(cp)) : std::nullopt;
        if (!code) {
            result.text.clear();
            result.error = message(MessageId::NoCalculatorCode, {line, column, std::string(sequence), codePointName(cp)});
            return result;
        }
        result.text += static_cast<char>(*code);
        ++column;
    }
    return result;
}

std::string escapeLinkText(std::string_view calc) {
    std::string out;
    out.reserve(calc.size());
    for (const char c : calc) {
        const std::string_view name = namesByCode()[static_cast<unsigned char>(c)];
        if (name.empty()) {
            out += c;
        } else {
            out += '\\';
            out += name;
            out += '\\';
        }
    }
    return out;
}

std::string unescapeLinkText(std::string_view escaped) {
    std::string out;
    out.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\') {
            const std::size_t close = escaped.find('\\', i + 1);
            if (close != std::string_view::npos && close - i - 1 <= kLongestName) {
                const std::string_view name = escaped.substr(i + 1, close - i - 1);
                bool found = false;
                for (const Escape& e : kEscapes) {
                    if (e.name == name) {
                        out += static_cast<char>(e.code);
                        found = true;
                        break;
                    }
                }
                if (found) {
                    i = close;
                    continue;
                }
            }
        }
        out += escaped[i];
    }
    return out;
}

LinkTextResult readLinkText(std::string_view bytes) {
    LinkTextResult result;
    const OutsideText decoded = readOutsideText(bytes);
    if (!decoded.ok()) {
        result.error = decoded.error;
        return result;
    }
    const std::vector<std::string_view> lines = splitLines(decoded.text);
    if (lines.empty() || lines[0] != "\\START92\\") {
        result.error = message(MessageId::NotLinkText);
        return result;
    }
    std::size_t i = 1;
    for (; i < lines.size(); ++i) {
        if (!(headerValue(lines[i], "\\COMMENT=", result.text.comment) ||
              headerValue(lines[i], "\\NAME=", result.text.name) || headerValue(lines[i], "\\FILE=", result.text.file)))
            break;
    }
    // The name holds escapes like the program text: "\theta\ab" is θab.
    result.text.name = unescapeLinkText(result.text.name);
    std::size_t stop = i;
    while (stop < lines.size() && lines[stop] != "\\STOP92\\") ++stop;
    if (stop == lines.size()) {
        result.error = message(MessageId::EndsBeforeStop);
        return result;
    }
    // One blank line stands between the program and \STOP92\.
    std::size_t end = stop;
    if (end > i && lines[end - 1].empty()) --end;
    if (end == i) {
        result.error = message(MessageId::NoProgramBeforeStop);
        return result;
    }
    for (std::size_t k = i; k < end; ++k) {
        if (k > i) result.text.program += "\r\n";
        result.text.program += unescapeLinkText(lines[k]);
    }
    if (result.text.program.find_first_not_of("\r\n ") == std::string::npos) {
        result.error = message(MessageId::NoProgramBeforeStop);
        result.text.program.clear();
        return result;
    }
    result.text.name = unescapeLinkText(result.text.name);
    return result;
}

std::string writeLinkText(const LinkText& text) {
    std::string out = "\\START92\\\r\n\\COMMENT=" + text.comment + "\r\n\\NAME=" + escapeLinkText(text.name) +
                      "\r\n\\FILE=" + text.file + "\r\n";
    // Every line of the program, an empty last one included.
    const std::string_view program = text.program;
    for (std::size_t start = 0;;) {
        const std::size_t end = program.find("\r\n", start);
        out += escapeLinkText(program.substr(start, end == std::string_view::npos ? end : end - start)) + "\r\n";
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    out += "\r\n\\STOP92\\\r\n";
    // Codes that happen to spell UTF-8 would be read back as UTF-8: such a text is
    // written in UTF-8 through the character table, which reads back to the same codes.
    if (!isUtf8BeyondAscii(out)) return out;
    std::string utf8;
    for (const char c : calcToUtf8(out)) utf8 += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return utf8;
}

std::string linkTextFolder(std::string_view file) {
    const std::size_t first = file.find('.');
    if (first == std::string_view::npos || file.find('.', first + 1) == std::string_view::npos) return {};
    return std::string(file.substr(0, first));
}

VariableFileInput documentOfLinkText(const LinkText& text, bool ti92) {
    VariableFileInput d;
    const std::size_t firstBreak = text.program.find("\r\n");
    const std::string arguments = text.program.substr(0, firstBreak);
    d.editorText = firstBreak == std::string::npos ? std::string() : text.program.substr(firstBreak);
    d.nameField = text.name + arguments;
    const std::string folder = linkTextFolder(text.file);
    d.folderField = folder.empty() ? std::string(kNewFolder) : folder;
    // The second line says the kind, as the tokenizer reads it.
    const std::size_t second = d.editorText.find_first_not_of(" ", 2);
    const bool function = second != std::string::npos && (d.editorText.compare(second, 4, "Func") == 0 ||
                                                          d.editorText.compare(second, 4, "func") == 0);
    d.variableHeader = newDocumentHeader();
    if (ti92) d.variableHeader.replace(0, 8, "**TI92P*");
    if (function) d.variableHeader[layout::kType] = static_cast<char>(kFunctionTypeId);
    d.variableTrailer = trailerFor(function ? ProgramKind::Function : ProgramKind::Program);
    return d;
}

LinkText linkTextOf(const VariableFileContent& content, const std::string& editorText, const std::string& extension) {
    LinkText t;
    t.name = content.name;
    t.file = content.folder + "." + content.name + extension;
    t.program = "(" + content.arguments + ")" + editorText;
    return t;
}

}  // namespace korvane
