// Tokenizer and detokenizer: the calculator-made samples round trip byte for byte,
// every tag of the reference tables goes text -> tokens -> text with the bytes the
// tables give, and malformed input gives errors, never a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "files/Tokens.h"
#include "files/VariableFile.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

Bytes hex(const std::string& spaced) {
    Bytes out;
    for (size_t i = 0; i + 1 < spaced.size() + 1; ++i) {
        if (spaced[i] == ' ') continue;
        out += static_cast<char>(std::stoi(spaced.substr(i, 2), nullptr, 16));
        ++i;
    }
    return out;
}

std::string showHex(const Bytes& b) {
    static const char d[] = "0123456789ABCDEF";
    std::string s;
    for (const char c : b) {
        const unsigned u = static_cast<unsigned char>(c);
        s += {d[u >> 4], d[u & 15], ' '};
    }
    return s;
}

struct Sample {
    std::string name;
    Bytes data;  // variable data: what the size word counts
};

// The single-variable samples (group files left out), split by form.
std::vector<Sample> samples(bool tokenized) {
    std::vector<Sample> out;
    for (const auto& entry : fs::directory_iterator(KORVANE_SAMPLES_DIR)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".89p" && ext != ".89f") continue;
        Bytes file;
        if (!readWholeFile(entry.path().string(), file).empty() || file.size() < 90) continue;
        const size_t size = (static_cast<unsigned char>(file[86]) << 8) | static_cast<unsigned char>(file[87]);
        Sample s{entry.path().filename().string(), file.substr(88, size)};
        if (isProgramText(s.data) != tokenized) out.push_back(std::move(s));
    }
    std::sort(out.begin(), out.end(), [](const Sample& a, const Sample& b) { return a.name < b.name; });
    return out;
}

#define SKIP_WITHOUT_SAMPLES()                                                              \
    if (!fs::is_directory(KORVANE_SAMPLES_DIR))                                             \
    GTEST_SKIP() << "sample folder " << KORVANE_SAMPLES_DIR << " is absent; sample tests skipped"

// The variable data with the in-use counter, Flag 2 and Flag 1 cleared, as a new
// variable carries them.
Bytes withNewFlags(Bytes data) {
    for (size_t i = data.size() - 4; i < data.size() - 1; ++i) data[i] = '\0';
    return data;
}

TEST(TokenSamples, EveryTokenizedSampleDetokenizesAndTokenizesBackByteForByte) {
    SKIP_WITHOUT_SAMPLES();
    const std::vector<Sample> all = samples(true);
    ASSERT_EQ(all.size(), 20u);
    int identical = 0;
    for (const Sample& s : all) {
        SCOPED_TRACE(s.name);
        const DetokenizeResult d = detokenize(s.data);
        ASSERT_TRUE(d.ok()) << d.error;
        const std::string end = d.kind == ProgramKind::Function ? "\rEndFunc" : "\rEndPrgm";
        EXPECT_TRUE(d.text.size() > end.size() && d.text.compare(d.text.size() - end.size(), end.size(), end) == 0);
        EXPECT_EQ(d.text.front(), '(');
        const TokenizeResult t = tokenize(d.text);
        ASSERT_TRUE(t.ok()) << t.error;
        EXPECT_EQ(t.kind, d.kind);
        if (t.data == withNewFlags(s.data)) ++identical;
        else ADD_FAILURE() << "tokens differ from the sample";
    }
    EXPECT_EQ(identical, 20);
}

TEST(TokenSamples, TextSamplesTokenizeAndComeBackToTheSameBytes) {
    SKIP_WITHOUT_SAMPLES();
    const std::vector<Sample> all = samples(false);
    ASSERT_EQ(all.size(), 8u);
    for (const Sample& s : all) {
        SCOPED_TRACE(s.name);
        const std::string text = s.data.substr(0, s.data.size() - 10);
        const TokenizeResult first = tokenize(text);
        ASSERT_TRUE(first.ok()) << first.error;
        EXPECT_EQ(first.kind, static_cast<unsigned char>(s.data[s.data.size() - 7]) == 0x17 ? ProgramKind::Function
                                                                                          : ProgramKind::Program);
        const DetokenizeResult back = detokenize(first.data);
        ASSERT_TRUE(back.ok()) << back.error;
        const TokenizeResult second = tokenize(back.text);
        ASSERT_TRUE(second.ok()) << second.error;
        EXPECT_EQ(showHex(second.data), showHex(first.data));
    }
}

// --- every tag of the reference tables -------------------------------------------

struct TagCase {
    char space;      // P primary, X secondary (xx E3), C command (xx E4), Y system (xx 1C)
    int value;
    const char* spelling;
    char shape;      // F function (V: with ";"), C command, W word, L/H infix (left operand low/high), S postfix, R prefix
    int required;
    int optional;    // -1: open-ended
    bool end;        // an END tag closes the operands
};

const TagCase kTagCases[] = {
#include "files/TagCases.inc"
};

Bytes tagBytes(const TagCase& c) {
    Bytes b(1, static_cast<char>(c.value));
    if (c.space == 'X') b += '\xE3';
    if (c.space == 'C') b += '\xE4';
    if (c.space == 'Y') b += '\x1C';
    return b;
}

// The statement bytes of a one-line program "()", Prgm, line, EndPrgm: what lies
// between the line break above EndPrgm and the one under Prgm.
Bytes statementBytes(const Bytes& data) {
    const size_t below = 5;  // E9, EndPrgm (2), line break (2)
    const size_t above = 9;  // line break (2), Prgm (2), END, flags (3), DC
    return data.size() >= below + above ? data.substr(below, data.size() - below - above) : Bytes();
}

std::string program(const std::string& line) { return "()\rPrgm\r" + line + "\rEndPrgm"; }

// Text and bytes of a tag used with `count` operands a, b, c... (tags 0B, 0C, 0D...):
// function-style operands are stored last-lowest, so the first lies next to the tag.
std::pair<std::string, Bytes> usage(const TagCase& c, int count) {
    std::string args;
    Bytes stored;
    for (int i = 0; i < count; ++i) {
        args += (i ? "," : "") + std::string(1, static_cast<char>('a' + i));
        stored.insert(stored.begin(), static_cast<char>(0x0B + i));
    }
    const std::string s = c.spelling;
    const bool word = std::isalpha(static_cast<unsigned char>(s[0])) != 0;
    switch (c.shape) {
    case 'F': return {s + args + ")", (c.end ? Bytes("\xE5") : Bytes()) + stored + tagBytes(c)};
    case 'V': return {s + "a;b)", Bytes("\x0C\x0B") + tagBytes(c)};
    case 'C': return {s + (count ? " " + args : ""), (c.end ? Bytes("\xE5") : Bytes()) + stored + tagBytes(c)};
    case 'W': return {s, tagBytes(c)};
    case 'L': return {"a" + (word ? " " + s + " " : s) + "b", Bytes("\x0B\x0C") + tagBytes(c)};
    case 'H': return {"a" + (word ? " " + s + " " : s) + "b", Bytes("\x0C\x0B") + tagBytes(c)};
    case 'S': return {"a" + s, Bytes("\x0B") + tagBytes(c)};
    default: return {s + (word ? " " : "") + "a", Bytes("\x0B") + tagBytes(c)};
    }
}

TEST(TokenTags, EveryCommandFunctionAndOperatorGoesTextToTokensToText) {
    ASSERT_GT(std::size(kTagCases), 400u);
    for (const TagCase& c : kTagCases) {
        std::vector<int> counts{c.required};
        if (c.optional > 0) counts.push_back(c.required + c.optional);
        if (c.optional < 0) counts.push_back(c.required + 2);
        for (const int count : counts) {
            const auto [line, expected] = usage(c, count);
            SCOPED_TRACE(std::string(1, c.space) + " " + showHex(tagBytes(c)) + line);
            const TokenizeResult t = tokenize(program(line));
            ASSERT_TRUE(t.ok()) << t.error;
            EXPECT_EQ(showHex(statementBytes(t.data)), showHex(expected));
            const DetokenizeResult d = detokenize(t.data);
            ASSERT_TRUE(d.ok()) << d.error;
            EXPECT_EQ(d.text, program(line));
        }
    }
}

// Items with a layout of their own, with the bytes the format reference gives for them.
TEST(TokenTags, LiteralsNamesListsAndCallsHaveTheirOwnLayouts) {
    const std::pair<std::string, std::string> cases[] = {
        {"0", "00 1F"},
        {"1", "01 01 1F"},
        {"264", "08 01 02 1F"},
        {"5.7", "40 00 57 00 00 00 00 00 00 23"},
        {"0.4", "3F FF 40 00 00 00 00 00 00 23"},  // printed with its zero, as the calculator does
        {"\xAD" "3\x16x", "03 01 1F 7A 08 80"},
        {"x^2", "02 01 1F 08 93"},
        {"rec=1", "01 01 1F 00 72 65 63 00 87"},
        {"i*nx-(nx-1)", "13 00 6E 78 00 8F 00 6E 78 00 01 01 1F 8D 8D"},
        {"{a,b,c}", "E5 0D 0C 0B D9"},
        {"[[1,2][3,4]]", "E5 E5 04 01 1F 03 01 1F D9 E5 02 01 1F 01 01 1F D9 D9"},
        {"m2[j,i]", "E5 13 14 00 6D 32 00 D5"},
        {"\x88", "00 88 00"},
        {"main\\flib(\"font:0\")", "E5 00 66 6F 6E 74 3A 30 00 2D 00 6D 61 69 6E 5C 66 6C 69 62 00 DA"},
        {"\"col\"&string(t)", "00 63 6F 6C 00 2D 04 09 E3 14 E3"},
        {"newList(7)", "07 01 1F 6E"},
        {"rand(2)", "E5 02 01 1F D6"},
        {"getKey()", "E5 02 E3"},
        {"ok", "5A 1C"},
        {"#a", "0B 01 E3"},
        {"Disp \"x\"", "E5 00 78 00 2D 7A E4"},
        {"Pause", "E5 51 E4"},
        {"Goto s", "03 2F E4"},
        {"Title \"s\",l", "E5 16 00 73 00 2D 56 E4"},
        {"\xA9" "abc", "00 61 62 63 00 00 E6"},
        {"\xA9", "00 00 00 E6"},
        // x is local in the defined value, as in value→f(x); its own x is unmarked.
        {"Define f(x)=x^2", "02 01 1F 08 F0 93 E5 08 10 DA 86 E4"},
    };
    for (const auto& [line, bytes] : cases) {
        SCOPED_TRACE(line);
        const TokenizeResult t = tokenize(program(line));
        ASSERT_TRUE(t.ok()) << t.error;
        EXPECT_EQ(showHex(statementBytes(t.data)), showHex(hex(bytes)));
        const DetokenizeResult d = detokenize(t.data);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.text, program(line));
    }
}

// "#expr(args)" calls the function whose name the expression gives: the call tag DA
// over the indirection (01 E3) of the expression, the arguments under it. The
// indirection of a call, "#(f(x))", is the other order.
TEST(TokenTags, IndirectCallsCallTheFunctionThatTheirExpressionNames) {
    const std::pair<std::string, std::string> cases[] = {
        {"#f(x)", "E5 08 10 01 E3 DA"},
        {"#(f(x))", "E5 08 10 DA 01 E3"},
        {"#f()", "E5 10 01 E3 DA"},
        {"#\"f\"(x)", "E5 08 00 66 00 2D 01 E3 DA"},
        // More than a name or a string: the indirected expression in parentheses.
        {"#(a&b)(x,y)", "E5 09 08 0B 0C 14 E3 01 E3 DA"},
        {"#(#f)(x)", "E5 08 10 01 E3 01 E3 DA"},
        {"#(#f(x))", "E5 08 10 01 E3 DA 01 E3"},
        {"#f(x)+#g(y)", "E5 08 10 01 E3 DA E5 09 11 01 E3 DA 8B"},
        {"#f(x)\x16y", "E5 08 10 01 E3 DA 09 80"},
    };
    for (const auto& [line, bytes] : cases) {
        SCOPED_TRACE(line);
        const TokenizeResult t = tokenize(program(line));
        ASSERT_TRUE(t.ok()) << t.error;
        EXPECT_EQ(showHex(statementBytes(t.data)), showHex(hex(bytes)));
        const DetokenizeResult d = detokenize(t.data);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.text, program(line));
    }
    // Typed without the parentheses, a run of '#' is the callee whole.
    EXPECT_EQ(tokenize(program("##f(x)")).data, tokenize(program("#(#f)(x)")).data);
    // A local name keeps its marker under the indirection.
    const TokenizeResult local = tokenize(program("Local f\r#f(1)"));
    ASSERT_TRUE(local.ok()) << local.error;
    EXPECT_NE(local.data.find(hex("E5 01 01 1F 10 F0 01 E3 DA")), std::string::npos) << showHex(local.data);

    // A function as the calculator stores it, (n,x) Func / Return #("f"&string(n))(x)
    // / EndFunc, with the flags of a link program's pull, reads as that text and
    // writes back to its own bytes.
    const Bytes stored = hex("E9 0F E4 00 E8 E5 E5 08 F0 00 66 00 2D 18 F0 09 E3 14 E3 01 E3 DA 52 E4 00 E8 17 E4 E5 08 "
                             "18 00 01 00 DC");
    const DetokenizeResult shown = detokenize(stored);
    ASSERT_TRUE(shown.ok()) << shown.error;
    EXPECT_EQ(shown.text, "(n,x)\rFunc\rReturn #(\"f\"&string(n))(x)\rEndFunc");
    const TokenizeResult back = tokenize(shown.text, {0, 1, 0});
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(showHex(back.data), showHex(stored));

    // A call over anything else than a name or an indirection is refused.
    EXPECT_FALSE(detokenize(hex("E9 12 E4 00 E8 E5 01 01 1F DA 00 E8 19 E4 E5 00 00 00 DC")).ok());
}

// A quote mark inside a string is typed twice; the string holds it once, as the
// calculator shows the string, and the text doubles it again.
TEST(TokenTags, AQuoteMarkInsideAStringIsTypedTwiceAndStoredOnce) {
    const std::pair<std::string, std::string> cases[] = {
        {"Disp \"a\"\"b\"", "E5 00 61 22 62 00 2D 7A E4"},
        {"Disp \"\"\"\"", "E5 00 22 00 2D 7A E4"},
        {"\"say \"\"hi\"\"\"&s", "00 73 61 79 20 22 68 69 22 00 2D 03 14 E3"},
        // A ':' or a comment mark after the pair is still inside the string.
        {"Disp \"a\"\":\xA9\",1", "E5 01 01 1F 00 61 22 3A A9 00 2D 7A E4"},
        // "a","b" inside one string: one string, not two.
        {"Disp \"a\"\",\"\"b\"", "E5 00 61 22 2C 22 62 00 2D 7A E4"},
    };
    for (const auto& [line, bytes] : cases) {
        SCOPED_TRACE(line);
        const TokenizeResult t = tokenize(program(line));
        ASSERT_TRUE(t.ok()) << t.error;
        EXPECT_EQ(showHex(statementBytes(t.data)), showHex(hex(bytes)));
        const DetokenizeResult d = detokenize(t.data);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.text, program(line));
    }
    // A third quote mark closes the string: what follows it is refused, with its line.
    const TokenizeResult odd = tokenize(program("Disp \"a\"\"\"b\""));
    EXPECT_EQ(odd.line, 3);
    EXPECT_NE(odd.error.find("string"), std::string::npos) << odd.error;
}

TEST(TokenTags, ControlStructuresLinesAndLocalsAreLaidOutAsTheCalculatorDoes) {
    // For i,1,7 / EndFor: the loop end carries the distance back to the head's command tag
    // (offsets 20 and 8 here: 20 - 8 + 2 = 14).
    const std::pair<std::string, std::string> programs[] = {
        {"()\rPrgm\rFor i,1,7\rEndFor\rEndPrgm",
         "E9 12 E4 00 E8 0E 00 0E E4 00 E8 E5 07 01 1F 01 01 1F 13 74 E4 00 E8 19 E4 E5 00 00 00 DC"},
        {"()\rPrgm\rIf a Then\rElse\rEndIf\rIf b:Stop\rEndPrgm",
         "E9 12 E4 00 E8 1B E4 00 E7 0C 3A E4 00 E8 10 E4 00 E8 0B E4 00 E8 0B 3B E4 00 E8 19 E4 E5 00 00 00 DC"},
        {"()\rPrgm\rTry\rElse\rEndTry\r\r  ClrIO\rEndPrgm",
         "E9 12 E4 00 E8 04 E4 02 E8 00 E8 14 E4 00 E8 87 E4 00 E8 1F E4 00 E8 19 E4 E5 00 00 00 DC"},
        // A parameter and declared locals are marked F0; in Local only the parameter is.
        {"(m)\rFunc\rLocal m,i\ri\x16m\rReturn m\rEndFunc",
         "E9 0F E4 00 E8 E5 17 F0 52 E4 00 E8 13 F0 17 F0 80 00 E8 E5 13 17 F0 7D E4 00 E8 17 E4 E5 17 00 00 00 DC"},
    };
    for (const auto& [text, bytes] : programs) {
        SCOPED_TRACE(text);
        const TokenizeResult t = tokenize(text);
        ASSERT_TRUE(t.ok()) << t.error;
        EXPECT_EQ(showHex(t.data), showHex(hex(bytes)));
        const DetokenizeResult d = detokenize(t.data);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.text, text);
    }

    // The function that the format reference shows whole, with the flags of a link program's pull.
    const TokenizeResult woinv = tokenize("(a)\rFunc\rReturn w_inv(a)\rEndFunc", {0, 1, 0});
    ASSERT_TRUE(woinv.ok()) << woinv.error;
    EXPECT_EQ(showHex(woinv.data),
              showHex(hex("E9 0F E4 00 E8 E5 E5 0B F0 00 77 5F 69 6E 76 00 DA 52 E4 00 E8 17 E4 E5 0B 00 01 00 DC")));
    EXPECT_EQ(woinv.kind, ProgramKind::Function);

    // A one-expression function (Define f(x)=x^2) reads as a function text.
    const DetokenizeResult f = detokenize(hex("E9 02 01 1F 08 93 E5 08 00 00 00 DC"));
    ASSERT_TRUE(f.ok()) << f.error;
    EXPECT_EQ(f.text, "(x)\rFunc\rx^2\rEndFunc");
    EXPECT_EQ(f.kind, ProgramKind::Function);
}

TEST(TokenText, PrecedenceDecidesTheParenthesesAndImplicitProductsAreStoredAsProducts) {
    const std::pair<std::string, std::string> cases[] = {
        {"(a+b)*c", "(a+b)*c"},     {"a+b*c", "a+b*c"},       {"a-(b-c)", "a-(b-c)"},
        {"(a-b)-c", "a-b-c"},       {"a^b^c", "a^b^c"},       {"(a^b)^c", "(a^b)^c"},
        {"\xAD" "a^2", "\xAD" "a^2"}, {"(\xAD" "a)^2", "(\xAD" "a)^2"}, {"2a", "2*a"},
        {"2(a+b)", "2*(a+b)"},      {"a and (b or c)", "a and (b or c)"}, {"not a=b", "not a=b"},
        {"\"a\"&\"b\"&\"c\"", "\"a\"&\"b\"&\"c\""}, {"(a+b)!", "(a+b)!"}, {"3000000000000000", "3000000000000000"}, {"3.\x95" "15", "3.\x95" "15"},
        {"1.5\x95\xAD" "12", "1.5\x95\xAD" "12"}, {"0h1F+0b101", "0h1F+0b101"}, {"SIN(X)", "sin(x)"},
        {"local_1", "local_1"},     {"x|x>0", "x|x>0"},       {"(1\x9F" "2)", "(1\x9F" "2)"},
    };
    for (const auto& [typed, shown] : cases) {
        SCOPED_TRACE(typed);
        const TokenizeResult t = tokenize(program(typed));
        ASSERT_TRUE(t.ok()) << t.error;
        const DetokenizeResult d = detokenize(t.data);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.text, program(shown));
    }
}

TEST(TokenText, TextThatDoesNotParseNamesTheLineAndWhatWasExpected) {
    const struct {
        std::string text;
        int line;
        std::string words;
    } cases[] = {
        {"()\rPrgm\rDisp a\rDisp (a\rEndPrgm", 4, "expected ')'"},
        {"()\rPrgm\rEndFor\rEndPrgm", 3, "EndFor"},
        {"()\rPrgm\rFor i,1,2\rEndPrgm", 3, "loop"},
        {"()\rPrgm\rx\x16\rEndPrgm", 3, "expected an expression"},
        {"()\rPrgm\rDisp \"abc\rEndPrgm", 3, "string"},
        {"()\rPrgm\rsin(a,b)\rEndPrgm", 3, "arguments"},
        {"()\rPrgm\ra)\rEndPrgm", 3, "expected ':'"},
        {"()\rPrgm\rDisp a\r", 3, "EndPrgm"},
        {"(a\rPrgm\rEndPrgm", 1, "argument list"},
        {"()\rProgram\rEndPrgm", 2, "Prgm or Func"},
        {"()\rPrgm\rabcdefghi\x16x\rEndPrgm", 3, "longer than 8"},
        {std::string("()\rPrgm\rDisp 1\rDisp \"a\0b\"\rEndPrgm", 33), 4, "character 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TokenizeResult t = tokenize(c.text);
        ASSERT_FALSE(t.ok());
        EXPECT_TRUE(t.data.empty());
        EXPECT_EQ(t.line, c.line);
        EXPECT_EQ(t.error.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << t.error;
        EXPECT_NE(t.error.find(c.words), std::string::npos) << t.error;
    }
}

TEST(TokenRobustness, MalformedDataGivesAnErrorNeverACrash) {
    // Data that is not a program at all, or ends early.
    for (const std::string& bytes : {std::string(""), std::string("E9"), std::string("E9 DC"),
                                     std::string("E9 00 00 00 DC"), std::string("E9 12 E4 00 E8 19 E4 E5 00 00 00 DC 00"),
                                     std::string("E9 12 E4 00 E8 19 E4 0B 00 00 00 DC"),
                                     std::string("E9 12 E4 00 E8 FF E4 00 E8 19 E4 E5 00 00 00 DC"),
                                     std::string("E9 12 E4 00 E8 61 62 2D 7A E4 00 E8 19 E4 E5 00 00 00 DC"),
                                     std::string("E9 04 E4 00 E8 19 E4 E5 00 00 00 DC")}) {
        SCOPED_TRACE(bytes);
        const DetokenizeResult d = detokenize(hex(bytes));
        EXPECT_FALSE(d.ok());
        EXPECT_TRUE(d.text.empty());
    }

    // Deep nesting: a million negations over one integer, and as text.
    Bytes deep = hex("E9 12 E4 00 E8 01 01 1F");
    deep += Bytes(1000000, '\x7A');
    deep += hex("00 E8 19 E4 E5 00 00 00 DC");
    const DetokenizeResult nested = detokenize(deep);
    EXPECT_FALSE(nested.ok());
    EXPECT_NE(nested.error.find("deep"), std::string::npos) << nested.error;
    const TokenizeResult deepText = tokenize(program(std::string(100000, '(') + "a" + std::string(100000, ')')));
    EXPECT_FALSE(deepText.ok());
    EXPECT_NE(deepText.error.find("deep"), std::string::npos) << deepText.error;

    // A long chain nests without recursion in the parser: what the tokenizer accepts
    // the detokenizer reads, and a chain too deep for it is refused when tokenizing.
    auto chain = [](int terms) {
        std::string s = "1";
        for (int i = 1; i < terms; ++i) s += "+1";
        return program(s);
    };
    const TokenizeResult longChain = tokenize(chain(250));
    ASSERT_TRUE(longChain.ok()) << longChain.error;
    EXPECT_TRUE(detokenize(longChain.data).ok());
    const TokenizeResult tooLong = tokenize(chain(400));
    EXPECT_FALSE(tooLong.ok());
    EXPECT_NE(tooLong.error.find("deep"), std::string::npos) << tooLong.error;

    // Indirections nested close to the bound come back from the detokenizer as
    // "#(#(...))": that text, deeper in parentheses than the one typed, still tokenizes.
    const TokenizeResult indirections = tokenize(program(std::string(290, '#') + "a"));
    ASSERT_TRUE(indirections.ok()) << indirections.error;
    const DetokenizeResult written = detokenize(indirections.data);
    ASSERT_TRUE(written.ok()) << written.error;
    const TokenizeResult again = tokenize(written.text);
    ASSERT_TRUE(again.ok()) << again.error;
    EXPECT_EQ(again.data, indirections.data);
    const TokenizeResult pastTheBound = tokenize(program(std::string(4000, '#') + "a"));
    EXPECT_FALSE(pastTheBound.ok());
    EXPECT_NE(pastTheBound.error.find("deep"), std::string::npos) << pastTheBound.error;

    // Every truncation of a real program, from the top and from the bottom.
    const std::string text = "(a)\rPrgm\rLocal s\rFor i,1,a\r{1,2.5,\"x\"}\x16s\rEndFor\rDisp s[1]\rEndPrgm";
    const TokenizeResult full = tokenize(text);
    ASSERT_TRUE(full.ok()) << full.error;
    for (size_t cut = 1; cut < full.data.size(); ++cut) {
        EXPECT_FALSE(detokenize(full.data.substr(cut)).ok()) << "without the first " << cut << " bytes";
        EXPECT_FALSE(detokenize(full.data.substr(0, full.data.size() - cut)).ok()) << "without the last " << cut;
    }

    // Random bytes under a valid frame and alone: whatever they hold, an answer comes back.
    std::mt19937 random(20261205);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes body(static_cast<size_t>(random() % 64), '\0');
        for (char& c : body) c = static_cast<char>(random() & 0xFF);
        const Bytes framed = hex("E9 12 E4 00 E8") + body + hex("00 E8 19 E4 E5 00 00 00 DC");
        const DetokenizeResult a = detokenize(framed);
        const DetokenizeResult b = detokenize(body);
        refused += !a.ok() + !b.ok();
        if (a.ok()) {
            EXPECT_NE(a.text.find("EndPrgm"), std::string::npos);
        }
    }
    EXPECT_GT(refused, 3000);
}

}  // namespace
}  // namespace korvane
