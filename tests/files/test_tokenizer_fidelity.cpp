// Texts that the calculator accepts as the menus and a person write them: the bytes
// expected here are the layouts of the reference notes (a command is its operands,
// its tag and E4; an optional operand list is closed by E5; x^2 stores 2 below x).
#include <gtest/gtest.h>

#include <functional>

#include "files/Detokenizer.h"
#include "files/Tokens.h"
#include "insert/CommandMenus.h"
#include "support/Samples.h"

namespace korvane {
namespace {

Bytes hex(std::initializer_list<int> bytes) {
    Bytes b;
    for (int v : bytes) b += static_cast<char>(v);
    return b;
}

// A program of one body line, lowest byte first: E9, EndPrgm (12 E4) and its line
// end, the line's bytes, its indent and E8, then Prgm (19 E4), the empty parameter
// list (E5), the three flags and DC.
Bytes programOf(const Bytes& line) {
    return hex({0xE9, 0x12, 0xE4, 0x00, 0xE8}) + line + hex({0x00, 0xE8, 0x19, 0xE4, 0xE5, 0, 0, 0, 0xDC});
}

Bytes tokenized(const std::string& body) {
    const TokenizeResult r = tokenize("()\r\nPrgm\r\n" + body + "\r\nEndPrgm");
    EXPECT_TRUE(r.ok()) << body << ": " << r.error;
    return r.data;
}

TEST(TokenizerFidelity, CommandsWithAnOptionalArgumentTakeTheMenusTrailingBlank) {
    EXPECT_EQ(tokenized("Pause "), programOf(hex({0xE5, 0x51, 0xE4})));
    EXPECT_EQ(tokenized("Pause"), programOf(hex({0xE5, 0x51, 0xE4})));
    EXPECT_EQ(tokenized("Return "), programOf(hex({0xE5, 0x52, 0xE4})));
    EXPECT_EQ(tokenized("Disp   "), programOf(hex({0xE5, 0x7A, 0xE4})));
    // With its argument, Disp "x" is E5 "x" 7A E4.
    EXPECT_EQ(tokenized("Disp \"x\" "), programOf(hex({0xE5, 0x00, 'x', 0x00, 0x2D, 0x7A, 0xE4})));
    // A blank then ':' ends the statement as well.
    EXPECT_TRUE(tokenize("()\r\nPrgm\r\nPause :Disp \r\nEndPrgm").ok());
}

VariableFlags oneExpressionForm() {
    VariableFlags flags;
    flags.oneExpression = true;
    return flags;
}

TEST(TokenizerFidelity, SquareAndCubeMarksAreStoredAsPowers) {
    // x^2 = 2 x 93, 2 being 02 01 1F and x the one-letter tag 08.
    EXPECT_EQ(tokenized("x\xB2"), programOf(hex({0x02, 0x01, 0x1F, 0x08, 0x93})));
    EXPECT_EQ(tokenized("x\xB2"), tokenized("x^2"));
    EXPECT_EQ(tokenized("(a+b)\xB3"), tokenized("(a+b)^3"));
    EXPECT_EQ(tokenized("2y\xB2"), tokenized("2*y^2"));
    // x⁻¹ is x^-1, the 1 under the negation 7A as a typed -1 is; sin⁻¹( stays arcsin.
    EXPECT_EQ(tokenized("x\xB4"), programOf(hex({0x01, 0x01, 0x1F, 0x7A, 0x08, 0x93})));
    EXPECT_EQ(tokenized("x\xB4"), tokenized("x^-1"));
    EXPECT_EQ(tokenized("sin\xB4(x)\xB4"), tokenized("(sin\xB4(x))^-1"));
    // In a one-expression function the -1 is a value (01 01 20), as the function reads back.
    const TokenizeResult inverse = tokenize("(x)\rFunc\rx\xB4\rEndFunc", oneExpressionForm());
    ASSERT_TRUE(inverse.ok()) << inverse.error;
    EXPECT_EQ(inverse.data, hex({0xE9, 0x01, 0x01, 0x20, 0x08, 0x93, 0xE5, 0x08, 0, 0, 0, 0xDC}));
    EXPECT_EQ(tokenize(detokenize(inverse.data).text, oneExpressionForm()).data, inverse.data);
    // The constant ℯ (25) under a power reads back as itself, not as the function ℯ^( (52).
    for (const char* power : {"\x96\xB4", "\x96^(a+1)", "\x96^-2"}) {
        const TokenizeResult e = tokenize(std::string("()\rPrgm\r") + power + "\rEndPrgm");
        ASSERT_TRUE(e.ok()) << e.error;
        EXPECT_EQ(tokenize(detokenize(e.data).text).data, e.data) << power;
    }
    // An angle over a power reads back with its parentheses.
    const TokenizeResult angle = tokenize("()\r\nPrgm\r\n6\xB2\xB0\r\nEndPrgm");
    ASSERT_TRUE(angle.ok()) << angle.error;
    const DetokenizeResult shown = detokenize(angle.data);
    ASSERT_TRUE(shown.ok());
    EXPECT_NE(shown.text.find("(6^2)\xB0"), std::string::npos) << shown.text;
    EXPECT_EQ(tokenize(shown.text).data, angle.data);
    // A dot operator after a number keeps it apart from the number's decimal point.
    const TokenizeResult dot = tokenize("()\r\nPrgm\r\ni\xB2.-r\r\nEndPrgm");
    ASSERT_TRUE(dot.ok()) << dot.error;
    EXPECT_EQ(tokenize(detokenize(dot.data).text).data, dot.data);
    // The other postfix marks keep their own tags: transpose 75, ! 76, % 77, radian 78.
    EXPECT_EQ(tokenized("m\x99"), programOf(hex({0x17, 0x75})));
    EXPECT_EQ(tokenized("n!"), programOf(hex({0x18, 0x76})));
    EXPECT_EQ(tokenized("t%"), programOf(hex({0x04, 0x77})));
}

TEST(TokenizerFidelity, ACommentMayFollowAStatementWithoutAColon) {
    const TokenizeResult r = tokenize("()\r\nPrgm\r\nDisp \"a\" \xA9 note\r\nEndPrgm");
    ASSERT_TRUE(r.ok()) << r.error;
    // The comment is the line's next statement: 00 " note" 00, indent, E6, below E7.
    EXPECT_EQ(r.data, tokenized("Disp \"a\":\xA9 note"));
    EXPECT_NE(r.data.find(Bytes("\0 note\0", 7) + hex({0x00, 0xE6, 0x00, 0xE7})), std::string::npos);
    const DetokenizeResult back = detokenize(r.data);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_NE(back.text.find("Disp \"a\""), std::string::npos);
    EXPECT_NE(back.text.find("\xA9 note"), std::string::npos);
    // A command whose argument is optional, directly followed by a comment: no argument.
    EXPECT_EQ(tokenized("Disp \xA9note"), tokenized("Disp :\xA9note"));
    EXPECT_EQ(tokenized("Pause \xA9wait"), tokenized("Pause :\xA9wait"));
    EXPECT_EQ(tokenized("Disp \xA9note").substr(0, 12), tokenized("Disp :\xA9note").substr(0, 12));
}

// Every whole-statement leaf of the command menus, as inserted (with the blank the
// menu leaves), on its own line, saves tokenized and comes back as the same statement.
TEST(TokenizerFidelity, MenuLeavesThatAreWholeStatementsSaveTokenized) {
    std::vector<std::string> leaves;
    std::function<void(const std::vector<MenuEntry>&)> collect = [&](const std::vector<MenuEntry>& entries) {
        for (const MenuEntry& e : entries) {
            if (e.isSubmenu()) collect(e.submenu);
            else if (e.text.rfind("setMode(", 0) == 0) leaves.push_back(e.text);
        }
    };
    for (const CommandMenu& menu : commandMenus())
        if (menu.name == "mode") collect(menu.entries);
    EXPECT_GT(leaves.size(), 30u);  // every entry of the menu "Mode"
    for (const char* leaf : {"Pause ", "Return ", "Disp ", "Input ", "Stop", "getKey()"}) leaves.push_back(leaf);

    std::string body = "Loop\r\nCycle\r\nExit\r\nEndLoop";
    for (const std::string& leaf : leaves) body += "\r\n" + leaf;
    const TokenizeResult r = tokenize("()\r\nPrgm\r\n" + body + "\r\nEndPrgm");
    ASSERT_TRUE(r.ok()) << r.error;
    const DetokenizeResult back = detokenize(r.data);
    ASSERT_TRUE(back.ok()) << back.error;
    // Reopened: the same statements, one per line, without the trailing blanks.
    std::string expected = "()\rPrgm\rLoop\rCycle\rExit\rEndLoop";
    for (const std::string& leaf : leaves) {
        std::string statement = leaf;
        while (!statement.empty() && statement.back() == ' ') statement.pop_back();
        expected += "\r" + statement;
    }
    expected += "\rEndPrgm";
    EXPECT_EQ(back.text, expected);
}

TEST(TokenizerFidelity, OneExpressionFunctionsKeepTheirFormAndTheirSimplifiedValues) {
    // f(x)=x^2 as the tilibs group holds it: E9, the expression, the parameter list
    // with x unmarked, the flags and DC; no Func, no lines. Only a function read in
    // that form keeps it; typed in the editor, the same text is a Func block, as the
    // calculator stores db(x) of the control toolbox.
    const Bytes square = hex({0xE9, 0x02, 0x01, 0x1F, 0x08, 0x93, 0xE5, 0x08, 0, 0, 0, 0xDC});
    const TokenizeResult read = tokenize("(x)\r\nFunc\r\nx^2\r\nEndFunc", oneExpressionForm());
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.data, square);
    EXPECT_EQ(read.kind, ProgramKind::Function);
    const TokenizeResult typed = tokenize("(x)\r\nFunc\r\nx^2\r\nEndFunc");
    ASSERT_TRUE(typed.ok()) << typed.error;
    EXPECT_EQ(typed.data, hex({0xE9, 0x0F, 0xE4, 0x00, 0xE8, 0x02, 0x01, 0x1F, 0x08, 0xF0, 0x93, 0x00, 0xE8, 0x17, 0xE4,
                               0xE5, 0x08, 0, 0, 0, 0xDC}));
    // A body of more than one line leaves the one-expression form.
    EXPECT_EQ(tokenize("(x)\rFunc\rx^2\rx\rEndFunc", oneExpressionForm()).data.substr(1, 2), hex({0x0F, 0xE4}));
    // Every function of the real group files comes back to its own bytes.
    const auto members = samples::groupPrograms();
    if (members.empty()) std::cout << "[  SKIPPED ] group members: " << samples::missingMessage() << "\n";
    for (const samples::GroupMember& m : members) {
        SCOPED_TRACE(m.name);
        const DetokenizeResult text = detokenize(m.data);
        if (!text.ok()) continue;  // a text-form program
        const size_t n = m.data.size();
        VariableFlags flags{static_cast<std::uint8_t>(m.data[n - 4]), static_cast<std::uint8_t>(m.data[n - 3]),
                            static_cast<std::uint8_t>(m.data[n - 2])};
        flags.oneExpression = text.oneExpression;
        EXPECT_EQ(tokenize(text.text, flags).data, m.data);
    }
    // A value the calculator has simplified: a negative integer (05 01 20) and a
    // fraction, denominator below numerator (04 01 03 01 22 for -3/4).
    for (const Bytes& value : {hex({0x05, 0x01, 0x20}), hex({0x04, 0x01, 0x03, 0x01, 0x22}),
                               hex({0x02, 0x01, 0x01, 0x01, 0x21, 0x08, 0x8B})}) {
        const Bytes data = hex({0xE9}) + value + hex({0xE5, 0x08, 0, 0, 0, 0xDC});
        const DetokenizeResult text = detokenize(data);
        ASSERT_TRUE(text.ok()) << text.error;
        EXPECT_TRUE(text.oneExpression);
        EXPECT_EQ(tokenize(text.text, oneExpressionForm()).data, data) << text.text;
    }
    // A function of statements keeps the Func form, and so does a negative number in
    // a program, stored as it is typed: 03 01 1F under the negation 7A.
    const TokenizeResult statements = tokenize("(x)\r\nFunc\r\nReturn x\r\nEndFunc");
    ASSERT_TRUE(statements.ok());
    EXPECT_EQ(statements.data.substr(statements.data.size() - 8, 2), hex({0x17, 0xE4}));
    EXPECT_EQ(tokenized("\xAD" "3\x16x"), programOf(hex({0x03, 0x01, 0x1F, 0x7A, 0x08, 0x80})));
    EXPECT_EQ(tokenized("1/2"), programOf(hex({0x01, 0x01, 0x1F, 0x02, 0x01, 0x1F, 0x91})));
}

TEST(TokenizerFidelity, ThenOnTheLineAfterTheIfOpensTheSameBlock) {
    // If c Then is c 3B E4 whether Then follows on the line, after ':' or on the next line.
    const Bytes oneLine = tokenized("If x Then\r\nDisp \r\nEndIf");
    EXPECT_EQ(tokenized("If x\r\nThen\r\nDisp \r\nEndIf"), oneLine);
    EXPECT_EQ(tokenized("If x:Then\r\nDisp \r\nEndIf"), oneLine);
    EXPECT_NE(oneLine.find(hex({0x08, 0x3B, 0xE4})), std::string::npos);
    EXPECT_EQ(oneLine.find(hex({0x1C, 0xE4})), std::string::npos);
    EXPECT_EQ(tokenized("If x Then\r\nElseIf y\r\nThen\r\nEndIf"), tokenized("If x Then\r\nElseIf y Then\r\nEndIf"));
    // An If without Then still governs the next statement alone.
    EXPECT_EQ(tokenized("If x\r\nDisp "), programOf(hex({0xE5, 0x7A, 0xE4, 0x00, 0xE8, 0x08, 0x3A, 0xE4})));
    // Errors keep the editor's line numbers: a Then alone, and a fault after the merged Then.
    const TokenizeResult alone = tokenize("()\r\nPrgm\r\nDisp \r\nThen\r\nEndPrgm");
    EXPECT_EQ(alone.line, 4);
    EXPECT_NE(alone.error.find("Then without If"), std::string::npos) << alone.error;
    const TokenizeResult later = tokenize("()\r\nPrgm\r\nIf x\r\nThen\r\nDisp (\r\nEndIf\r\nEndPrgm");
    EXPECT_EQ(later.line, 5) << later.error;
    const TokenizeResult open = tokenize("()\r\nPrgm\r\nIf x\r\nThen\r\nEndPrgm");
    EXPECT_EQ(open.line, 3) << open.error;
}

TEST(TokenizerFidelity, FunctionsAndProgramsDefinedInsideAProgram) {
    // Stored inline, as the control toolbox's programs hold theirs: the Define's value
    // is the Func tag alone (17 E4) under the target sq(x), its parameter unmarked;
    // the block's statements follow as the program's own, x local in them, down to
    // its EndFunc (0F E4).
    const Bytes define = hex({0x17, 0xE4, 0xE5, 0x08, 0x00, 's', 'q', 0x00, 0xDA, 0x86, 0xE4});
    const Bytes oneLine = hex({0x0F, 0xE4, 0x00, 0xE7, 0xE5, 0x08, 0xF0, 0x52, 0xE4, 0x00, 0xE7}) + define;
    EXPECT_EQ(tokenized("Define sq(x)=Func:Return x:EndFunc"), programOf(oneLine));
    const Bytes lines = hex({0x0F, 0xE4, 0x00, 0xE8, 0xE5, 0x08, 0xF0, 0x52, 0xE4, 0x00, 0xE8}) + define;
    EXPECT_EQ(tokenized("Define sq(x)=Func\r\nReturn x\r\nEndFunc"), programOf(lines));
    // Only a call that is the whole store target defines a function: in a→2f(a) and
    // a→f(a)^2 the a of f(a) is the program's local, marked as everywhere else.
    EXPECT_NE(tokenized("Local a\r\na\x16" "2f(a)").find(hex({0xE5, 0x0B, 0xF0, 0x10, 0xDA})), std::string::npos);
    EXPECT_NE(tokenized("Local a\r\na\x16" "f(a)^2").find(hex({0xE5, 0x0B, 0xF0, 0x10, 0xDA})), std::string::npos);
    EXPECT_NE(tokenized("Local a\r\na\x16" "f(a)").find(hex({0xE5, 0x0B, 0x10, 0xDA})), std::string::npos);
    // The program's own locals are not local inside the block, and its Local names
    // end with it.
    const Bytes scoped = tokenized("Local a\r\nDefine p()=Prgm\r\nLocal b\r\na+b\r\nEndPrgm\r\na+b");
    EXPECT_NE(scoped.find(hex({0x0B, 0x0C, 0xF0, 0x8B})), std::string::npos);  // inside: a+b, b marked
    EXPECT_NE(scoped.find(hex({0x0B, 0xF0, 0x0C, 0x8B})), std::string::npos);  // after: a+b, a marked

    // Reopened as written, with the statements after it, in a function as well.
    for (const std::string text :
         {"()\rPrgm\rDefine sq(x)=Func\rLocal y\rx*x\x16y\rReturn y\rEndFunc:Disp sq(2)\rEndPrgm",
          "(n)\rFunc\rDefine p()=Prgm:Disp n:EndPrgm\rDefine g(a,b)=Func\rFor i,1,a\rEndFor\rReturn b\rEndFunc\rReturn n\rEndFunc"}) {
        SCOPED_TRACE(text);
        const TokenizeResult t = tokenize(text);
        ASSERT_TRUE(t.ok()) << t.error;
        const DetokenizeResult back = detokenize(t.data);
        ASSERT_TRUE(back.ok()) << back.error;
        EXPECT_EQ(back.text, text);
    }

    // A definition left open or closed by the wrong end names its line.
    const TokenizeResult open = tokenize("()\r\nPrgm\r\nDefine sq(x)=Func\r\nReturn x\r\nEndPrgm");
    EXPECT_FALSE(open.ok());
    EXPECT_NE(open.error.find("line 3"), std::string::npos) << open.error;
    const TokenizeResult inside = tokenize("()\r\nPrgm\r\nDefine sq(x)=Func\r\nReturn (\r\nEndFunc\r\nEndPrgm");
    EXPECT_EQ(inside.line, 4) << inside.error;
    const TokenizeResult unclosedIf = tokenize("()\r\nPrgm\r\nDefine sq(x)=Func\r\nIf x Then\r\nEndFunc\r\nEndPrgm");
    EXPECT_EQ(unclosedIf.line, 4) << unclosedIf.error;
    const TokenizeResult lastEnd = tokenize("(x)\r\nFunc\r\nDefine sq(x)=Func\r\nReturn x\r\nEndFunc");
    EXPECT_FALSE(lastEnd.ok());
    EXPECT_NE(lastEnd.error.find("EndFunc at the end"), std::string::npos) << lastEnd.error;
}

}  // namespace
}  // namespace korvane
