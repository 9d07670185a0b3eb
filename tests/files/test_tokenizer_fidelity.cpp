// Texts that the calculator accepts as the menus and a person write them: the bytes
// expected here are the layouts of the reference notes (a command is its operands,
// its tag and E4; an optional operand list is closed by E5; x^2 stores 2 below x).
#include <gtest/gtest.h>

#include <functional>

#include "files/Detokenizer.h"
#include "files/Tokens.h"
#include "insert/CommandMenus.h"

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

TEST(TokenizerFidelity, SquareAndCubeMarksAreStoredAsPowers) {
    // x^2 = 2 x 93, 2 being 02 01 1F and x the one-letter tag 08.
    EXPECT_EQ(tokenized("x\xB2"), programOf(hex({0x02, 0x01, 0x1F, 0x08, 0x93})));
    EXPECT_EQ(tokenized("x\xB2"), tokenized("x^2"));
    EXPECT_EQ(tokenized("(a+b)\xB3"), tokenized("(a+b)^3"));
    EXPECT_EQ(tokenized("2y\xB2"), tokenized("2*y^2"));
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

}  // namespace
}  // namespace korvane
