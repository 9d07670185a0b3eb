#pragma once
// Large editor texts for benchmarks: a realistic mix of keywords, comments,
// strings and expressions, repeated to the size wanted.
#include <cctype>
#include <string>

namespace korvane::programs {

inline std::string largeProgram(size_t bytes, bool lowerCase = false) {
    static const std::string block =
        "\r\n\xA9 compute the table of values\r\nLocal i,j,k,tbl\r\n{}\x16tbl\r\nFor i,1,20\r\n"
        "  If mod(i,2)=0 Then\r\n    Disp \"even \"&string(i)\r\n  ElseIf i>15 Then\r\n"
        "    Output 10,20,\"big\"\r\n  Else\r\n    augment(tbl,{i^2})\x16tbl\r\n  EndIf\r\n"
        "  While j<i:j+1\x16j:EndWhile\r\n  Try\r\n    k/j\x16k \xA9 may divide by zero\r\n"
        "  Else\r\n    ClrErr\r\n  EndTry\r\nEndFor\r\nPause \"done\"\r\nText \"Item \"&string(k)\r\n";
    std::string text = "\r\nPrgm";
    while (text.size() + block.size() + 9 < bytes) text += block;
    text += "\r\nEndPrgm";
    if (lowerCase)
        for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace korvane::programs
