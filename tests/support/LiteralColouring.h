#pragma once
// A literal, splice-by-splice transcription of the colouring algorithm: every
// keyword found is spliced into a fresh copy of the whole working text. It is slow
// on purpose; tests compare the linear engine with it and the benchmark times it.
#include <string>

#include "editor/Colouring.h"

namespace korvane::literal {

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Case-insensitive search from 0-based position `from`.
inline size_t findNoCase(const std::string& t, const std::string& k, size_t from) {
    if (k.size() > t.size()) return std::string::npos;
    for (size_t f = from; f + k.size() <= t.size(); ++f) {
        size_t m = 0;
        while (m < k.size() && lowerAscii(t[f + m]) == lowerAscii(k[m])) ++m;
        if (m == k.size()) return f;
    }
    return std::string::npos;
}

inline std::string replaceEvery(std::string s, const std::string& from, const std::string& to) {
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
        out += s.substr(pos, hit - pos);
        out += to;
    }
    return out + s.substr(pos);
}

// The part of the line before 0-based position f, from the character after the
// previous CR LF.
inline std::string linePrefix(const std::string& t, size_t f) {
    const size_t crlf = f >= 2 ? t.rfind("\r\n", f - 2) : std::string::npos;
    const size_t start = crlf == std::string::npos ? 0 : crlf + 2;
    return t.substr(start, f - start);
}

inline bool delimiterChar(char c) { return c == ' ' || c == '(' || c == ')' || c == ',' || c == ':'; }

inline std::string document(const std::string& text, const std::string& tailleN) {
    std::string t = replaceEvery(text, "\\", "\\\\");
    t = replaceEvery(t, "{", "\\{");
    t = replaceEvery(t, "}", "\\}");
    t = " " + t;

    auto pass = [&t](const std::string& list, const std::string& colourSwitch) {
        for (const auto& k : keywordWords(list)) {
            size_t p = 0;
            for (;;) {
                const size_t f = findNoCase(t, k, p);
                if (f == std::string::npos) break;
                p = f + k.size();
                const bool before = f == 0 || delimiterChar(t[f - 1]) || (f >= 2 && t.substr(f - 2, 2) == "\r\n");
                const bool after = p == t.size() || delimiterChar(t[p]) || t.substr(p, 2) == "\r\n";
                const std::string prefix = linePrefix(t, f);
                size_t quotes = 0;
                for (const char c : prefix) quotes += c == '"';
                if (!before || !after || quotes % 2 != 0 || prefix.find('\'') != std::string::npos) continue;
                t = t.substr(0, f) + colourSwitch + k + "\\cf4 " + t.substr(p);
                p = f + colourSwitch.size() + k.size() + 5;
            }
        }
    };
    // The two keyword lists, written out here rather than taken from the code, so
    // that a word dropped from the program's lists shows.
    pass(" Prgm EndPrgm If Then Else EndIf ElseIf Try EndTry When For EndFor While EndWhile Loop EndLoop Custom "
         "EndCustom Func EndFunc Dialog EndDlog ToolBar EndTBar ",
         "\\cf2 ");
    pass(" Text Request PopUp DropDown Title Item Disp Input InputStr Prompt Output getKey Send Get Pause Return "
         "Cycle Stop Exit SendCalc GetCalc SendChat Define DelVar Local Lock Unlock Archive Unarchiv ",
         "\\cf3 ");

    for (size_t p = 0;;) {
        const size_t f = t.find('\xA9', p);
        if (f == std::string::npos) break;
        size_t e = t.find("\r\n", f);
        if (e == std::string::npos) e = t.size();
        size_t quotes = 0;
        for (const char c : linePrefix(t, f)) quotes += c == '"';
        if (quotes % 2 != 0) {
            p = f + 1;
            continue;
        }
        std::string s = t.substr(f, e - f);
        s = replaceEvery(s, "\\cf2 ", "");
        s = replaceEvery(s, "\\cf3 ", "");
        s = replaceEvery(s, "\\cf4 ", "");
        t = t.substr(0, f) + "\\cf1 " + s + "\\cf4 " + t.substr(e);
        p = f + 5 + s.size() + 5;
    }

    t = replaceEvery(t, "\r", "\\par ");
    t = t.substr(1);
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Ti-89 JB;}}\r\n"
           "{\\colortbl ;\\red0\\green130\\blue0;\\red0\\green0\\blue255;\\red180\\green100\\blue100;"
           "\\red0\\green0\\blue0;}\r\n"
           "\\viewkind4\\uc1\\pard\\lang1036\\f0\\fs" + tailleN + " " + t + "\\cf0\\fs24\r\n\\par }";
}

}  // namespace korvane::literal
