#include "shell/IniStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSection = "option";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
        if (x != y) return false;
    }
    return true;
}

// One line of the file: its text and the line ending behind it ("" for a last line
// without one). A lone CR counts as a line ending, as in old Mac files.
struct Line {
    std::size_t begin;
    std::size_t end;     // end of the text
    std::size_t eolEnd;  // end of the line ending
};

std::vector<Line> splitLines(std::string_view s) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const auto brk = s.find_first_of("\r\n", pos);
        if (brk == std::string_view::npos) {
            lines.push_back({pos, s.size(), s.size()});
            break;
        }
        const std::size_t eolEnd = (s[brk] == '\r' && brk + 1 < s.size() && s[brk + 1] == '\n') ? brk + 2 : brk + 1;
        lines.push_back({pos, brk, eolEnd});
        pos = eolEnd;
    }
    return lines;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name or key, trimmed
    std::string_view value;  // key value, trimmed
};

ParsedLine parseLine(std::string_view text, bool firstLine) {
    if (firstLine && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    const std::string_view t = trimBlanks(text);
    if (t.empty() || t.front() == ';') return {};
    if (t.front() == '[') {
        const auto close = t.find(']');
        if (close == std::string_view::npos) return {};
        return {LineKind::Section, trimBlanks(t.substr(1, close - 1)), {}};
    }
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return {};
    const std::string_view name = trimBlanks(t.substr(0, eq));
    if (name.empty()) return {};
    std::string_view value = t.substr(eq + 1);
    value = value.substr(0, value.find('\0'));
    return {LineKind::Key, name, trimBlanks(value)};
}

// Walks the lines of `content` and calls `visit(lineIndex, parsed, inOption)`.
template <typename Visit>
void forEachLine(std::string_view content, const std::vector<Line>& lines, Visit visit) {
    bool inOption = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& l = lines[i];
        const ParsedLine p = parseLine(content.substr(l.begin, l.end - l.begin), i == 0);
        if (p.kind == LineKind::Section) inOption = equalsIgnoringCase(p.name, kSection);
        if (!visit(i, p, inOption)) return;
    }
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Whether the bytes at `start` form one complete, well-formed UTF-8 sequence of two
// to four bytes; its length, or 0.
std::size_t utf8SequenceAt(std::string_view v, std::size_t start) {
    const auto lead = static_cast<unsigned char>(v[start]);
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) len = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (start + len > v.size()) return 0;
    const auto second = static_cast<unsigned char>(v[start + 1]);
    if (second < lo || second > hi) return 0;
    for (std::size_t i = start + 2; i < start + len; ++i)
        if (!isContinuation(static_cast<unsigned char>(v[i]))) return 0;
    return len;
}

// A value cut to kIniValueMax bytes. The cut backs off to the start of a UTF-8
// character only when it would split a well-formed one (a path's name); any other
// byte is a calculator code and is cut exactly.
std::string_view limitValue(std::string_view v) {
    if (v.size() <= kIniValueMax) return v;
    std::size_t start = kIniValueMax;
    while (start > 0 && kIniValueMax - start < 3 && isContinuation(static_cast<unsigned char>(v[start]))) --start;
    if (start != kIniValueMax) {
        const std::size_t len = utf8SequenceAt(v, start);
        if (len != 0 && start + len > kIniValueMax) return v.substr(0, start);
    }
    return v.substr(0, kIniValueMax);
}

// A key that a line can hold and that reads back as itself.
bool isWritableKey(std::string_view key) {
    const std::string_view k = trimBlanks(key);
    return !k.empty() && k.front() != '[' && k.front() != ';' &&
           k.find_first_of(std::string_view("=\r\n\0", 4)) == std::string_view::npos;
}

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return content;
}

// Replaces `target` by `content` through a temporary file in the same folder, so the
// old file stays whole until the new one is complete.
bool replaceFile(const fs::path& target, const std::string& content, mode_t mode) {
    fs::path temp = target.parent_path() / ("." + target.filename().string() + ".XXXXXX");
    std::string name = temp.string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) ok = false;
        else done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(name.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(name.c_str());
    return ok;
}

}  // namespace

std::optional<std::string> findIniValue(std::string_view content, std::string_view key) {
    const std::string_view wanted = trimBlanks(key);
    std::optional<std::string> found;
    forEachLine(content, splitLines(content), [&](std::size_t, const ParsedLine& p, bool inOption) {
        if (inOption && p.kind == LineKind::Key && equalsIgnoringCase(p.name, wanted)) {
            found = std::string(limitValue(p.value));
            return false;
        }
        return true;
    });
    return found;
}

std::string withIniValue(std::string_view content, std::string_view key, std::string_view value) {
    if (!isWritableKey(key)) return std::string(content);
    const std::string_view wanted = trimBlanks(key);
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));

    const auto lines = splitLines(content);
    std::string eol = "\n";
    for (const auto& l : lines) {
        if (l.eolEnd != l.end) {
            eol = std::string(content.substr(l.end, l.eolEnd - l.end));
            break;
        }
    }

    std::optional<std::size_t> keyLine;
    std::optional<std::size_t> sectionLine;  // the first "option" header
    std::optional<std::size_t> lastFilled;   // last non-blank line of that section
    bool inFirstSection = false;
    forEachLine(content, lines, [&](std::size_t i, const ParsedLine& p, bool inOption) {
        if (p.kind == LineKind::Section) {
            inFirstSection = inOption && !sectionLine;
            if (inFirstSection) sectionLine = lastFilled = i;
            return true;
        }
        if (inOption && p.kind == LineKind::Key && equalsIgnoringCase(p.name, wanted)) {
            keyLine = i;
            return false;
        }
        if (inFirstSection && !trimBlanks(content.substr(lines[i].begin, lines[i].end - lines[i].begin)).empty())
            lastFilled = i;
        return true;
    });

    std::string out;
    if (keyLine) {
        // Rewrite the line in place, keeping the file's own spelling of the key.
        const Line& l = lines[*keyLine];
        std::string_view text = content.substr(l.begin, l.end - l.begin);
        const bool bom = *keyLine == 0 && text.starts_with(kByteOrderMark);
        const ParsedLine p = parseLine(text, *keyLine == 0);
        out.append(content.substr(0, l.begin));
        if (bom) out.append(kByteOrderMark);
        out.append(p.name).append("=").append(value);
        out.append(content.substr(l.end));
        return out;
    }
    const std::string newLine = std::string(trimBlanks(key)) + "=" + std::string(value);
    if (sectionLine) {
        const Line& l = lines[*lastFilled];
        out.append(content.substr(0, l.end));
        out.append(l.eolEnd == l.end ? eol : std::string(content.substr(l.end, l.eolEnd - l.end)));
        out.append(newLine).append(eol);
        out.append(content.substr(l.eolEnd));
        return out;
    }
    out.append(content);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append(eol);
    out.append("[option]").append(eol).append(newLine).append(eol);
    return out;
}

bool writeIniFile(const std::string& path, std::string_view key, std::string_view value) {
    if (path.empty() || !isWritableKey(key)) return false;
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        const fs::path link = fs::read_symlink(target, ec);
        if (ec) return false;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    std::string content;
    mode_t mode = 0644;
    if (fs::exists(target, ec)) {
        // A file that exists but can't be read is left alone rather than replaced by
        // one that would lack its other keys.
        auto existing = readWholeFile(target);
        if (!existing) return false;
        content = std::move(*existing);
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
    } else if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec) return false;
    }
    const std::string updated = withIniValue(content, key, value);
    if (updated == content && fs::exists(target, ec)) return true;
    return replaceFile(target, updated, mode);
}

Settings::Settings(std::string cheminIni) : cheminIni_(std::move(cheminIni)) {}

std::string Settings::lireIni(std::string_view key) const {
    const auto content = readWholeFile(cheminIni_);
    if (!content) return "1";
    return findIniValue(*content, key).value_or("1");
}

void Settings::ecrireIni(std::string_view key, std::string_view value) {
    writeIniFile(cheminIni_, key, value);
}

bool Settings::chargerOption(std::string_view key) const {
    return lireIni(key) != "Faux";
}

void Settings::sauverOption(std::string_view key, bool value) {
    ecrireIni(key, value ? "Vrai" : "Faux");
}

std::string locateCheminIni(const std::string& executableDir) {
    if (const char* named = std::getenv("KORVANE_INI"); named && *named) return named;
    const fs::path beside = fs::path(executableDir) / "Korvane.INI";
    std::error_code ec;
    if (!executableDir.empty() && (fs::exists(beside, ec) || ::access(executableDir.c_str(), W_OK) == 0))
        return beside.string();
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        config = fs::path(home) / ".config";
    } else {
        return beside.string();
    }
    return (config / "korvane" / "Korvane.INI").string();
}

}  // namespace korvane
