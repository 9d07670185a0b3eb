#include "editor/CharTable.h"

#include <array>
#include <unordered_map>

namespace korvane {
namespace {

// Codes 0 to 12 (but 11) and 13 are shown as Control Pictures; 0x95, 0x97, 0x9A
// and 0x9B take single-unit look-alikes because their usual glyphs need two units.
constexpr std::array<char16_t, 256> kUnits = {
    0x2400, 0x2401, 0x2402, 0x2403, 0x2404, 0x2405, 0x2406, 0x2407,
    0x2408, 0x2409, 0x240A, 0x2934, 0x240C, 0x240D, 0x2693, 0x2713,
    0x25FE, 0x25C2, 0x25B8, 0x25B4, 0x25BE, 0x2190, 0x2192, 0x2191,
    0x2193, 0x25C0, 0x25B6, 0x2B06, 0x222A, 0x2229, 0x2282, 0x2208,
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x25C6,
    0x03B1, 0x03B2, 0x0393, 0x03B3, 0x0394, 0x03B4, 0x03B5, 0x03B6,
    0x03B8, 0x03BB, 0x03BE, 0x03A0, 0x03C0, 0x03C1, 0x03A3, 0x03C3,
    0x03C4, 0x03C6, 0x03C8, 0x03A9, 0x03C9, 0x1D07, 0x212F, 0x2148,
    0x02B3, 0x22BA, 0x1E8B, 0x1E8F, 0x2264, 0x2260, 0x2265, 0x2220,
    0x2026, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x221A, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x2212, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x207A, 0x00B9, 0x00BA, 0x00BB, 0x2202, 0x222B, 0x221E, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

const std::unordered_map<char16_t, unsigned char>& reverseTable() {
    static const auto table = [] {
        std::unordered_map<char16_t, unsigned char> map;
        for (int code = 0; code < 256; ++code) map.emplace(kUnits[code], static_cast<unsigned char>(code));
        return map;
    }();
    return table;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`; a malformed byte decodes as U+FFFD and is skipped.
char32_t decodeUtf8(const std::string& s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 0x6 ? 1 : (b0 >> 4) == 0xE ? 2 : (b0 >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = extra == 0 ? b0 : b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return cp;
}

}  // namespace

char16_t unitOfCode(unsigned char code) { return kUnits[code]; }

std::optional<unsigned char> codeOfUnit(char16_t unit) {
    const auto& table = reverseTable();
    if (auto it = table.find(unit); it != table.end()) return it->second;
    return std::nullopt;
}

std::optional<unsigned char> codeOfTypedUnit(char16_t unit) {
    if (auto code = codeOfUnit(unit)) return code;
    switch (unit) {
        case u'\t': case 0x00A0: case 0x2007: case 0x202F: return ' ';
        case 0x2018: case 0x2019: case 0x201A: case 0x2032: return '\'';
        case 0x201C: case 0x201D: case 0x201E: case 0x2033: return '"';
        case 0x2010: case 0x2011: case 0x2013: return '-';
        default: return std::nullopt;
    }
}

std::string normaliseLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string calcToUtf8(const std::string& calc) {
    std::string out;
    out.reserve(calc.size() + calc.size() / 4);
    for (size_t i = 0; i < calc.size(); ++i) {
        const auto code = static_cast<unsigned char>(calc[i]);
        if (code == '\r' && i + 1 < calc.size() && calc[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else if (code == '\r') {
            out += '\n';
        } else if (code == kInverseCode) {
            appendUtf8(out, kInverseReadable[0]);
            appendUtf8(out, kInverseReadable[1]);
        } else {
            // A line feed alone is a calculator character: its stand-in ␊.
            appendUtf8(out, unitOfCode(code));
        }
    }
    return out;
}

std::string utf8ToCalc(const std::string& utf8, int* dropped) {
    std::string out;
    out.reserve(utf8.size());
    int lost = 0;
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = decodeUtf8(utf8, i);
        if (cp == '\r' || cp == '\n') {
            out += "\r\n";
            if (cp == '\r' && i < utf8.size() && utf8[i] == '\n') ++i;
            continue;
        }
        std::optional<unsigned char> code;
        if (cp == kInverseReadable[0]) {
            size_t next = i;
            if (next < utf8.size() && decodeUtf8(utf8, next) == kInverseReadable[1]) {
                out += static_cast<char>(kInverseCode);
                i = next;
                continue;
            }
        }
        if (cp < 0x10000) code = codeOfTypedUnit(static_cast<char16_t>(cp));
        if (code) {
            out += static_cast<char>(*code);
        } else {
            ++lost;
        }
    }
    if (dropped) *dropped = lost;
    return out;
}

}  // namespace korvane
