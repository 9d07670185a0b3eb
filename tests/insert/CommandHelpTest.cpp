// The command help table against the catalogue it describes, and its lookups.
#include "insert/Catalogue.h"
#include "insert/CommandHelp.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {
namespace {

std::vector<std::string> catalogueRows() {
    // tests/data/../../data is the checkout's data folder.
    const std::string path = std::string(KORVANE_TESTDATA_DIR) + "/../../data/" + kCatalogueFileName;
    return readCatalogue({path}).rows;
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// `name` occurs in `text` with no letter or digit glued to either side.
bool containsWord(std::string_view text, std::string_view name) {
    for (std::size_t at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
        const bool freeBefore = at == 0 || !isNameChar(text[at - 1]);
        const std::size_t end = at + name.size();
        const bool freeAfter = end == text.size() || !isNameChar(text[end]) || name.back() == '(';
        if (freeBefore && freeAfter) return true;
    }
    return false;
}

// Square brackets and parentheses open and close in order.
bool balanced(std::string_view text) {
    std::string open;
    for (char c : text) {
        if (c == '(' || c == '[' || c == '{') {
            open.push_back(c);
        } else if (c == ')' || c == ']' || c == '}') {
            const char want = c == ')' ? '(' : c == ']' ? '[' : '{';
            if (open.empty() || open.back() != want) return false;
            open.pop_back();
        }
    }
    return open.empty();
}

TEST(CommandHelp, DescribesEveryCatalogueRowAndNothingElse) {
    const std::vector<std::string> rows = catalogueRows();
    ASSERT_EQ(rows.size(), 347u) << "catalogue.dat not found or changed";

    for (const std::string& row : rows) {
        SCOPED_TRACE(row);
        const CommandHelp* help = findCommandHelp(row);
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->name, row);
        EXPECT_FALSE(help->syntax.empty());
        EXPECT_FALSE(help->french.empty());
        EXPECT_FALSE(help->english.empty());
        EXPECT_LE(help->french.size(), 90u);
        EXPECT_LE(help->english.size(), 90u);
        EXPECT_NE(help->french, help->english);
        EXPECT_TRUE(balanced(help->syntax)) << help->syntax;

        // The syntax spells the command as the catalogue does: a function or a
        // statement leads with its name, an operator names it between operands.
        const std::string_view syntax = help->syntax;
        switch (help->kind) {
        case CommandKind::Function:
            EXPECT_EQ(row.back(), '(');
            EXPECT_TRUE(syntax.starts_with(row)) << syntax;
            break;
        case CommandKind::Statement:
            EXPECT_NE(row.back(), '(');
            EXPECT_TRUE(syntax == row || syntax.starts_with(row + " ")) << syntax;
            break;
        case CommandKind::Operator:
            EXPECT_TRUE(containsWord(syntax, row)) << syntax;
            EXPECT_NE(syntax, row);
            break;
        }
    }

    // The table holds the catalogue's rows, each once, in the same order.
    const std::span<const CommandHelp> all = allCommandHelp();
    ASSERT_EQ(all.size(), rows.size());
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].name, rows[i]);
        EXPECT_TRUE(seen.insert(all[i].name).second) << all[i].name;
    }
}

TEST(CommandHelp, FindsExactRowsAndTypedWords) {
    // An exact row; a word alone does not match a row that ends with "(".
    ASSERT_NE(findCommandHelp("abs("), nullptr);
    EXPECT_EQ(findCommandHelp("abs"), nullptr);
    EXPECT_EQ(findCommandHelp("for"), nullptr);
    EXPECT_EQ(findCommandHelp(""), nullptr);

    struct Case {
        std::string_view word;
        std::string_view row;
    };
    const Case found[] = {
        {"For", "For"},
        {"for", "For"},
        {"FOR", "For"},
        {"Disp", "Disp"},
        {"abs", "abs("},
        {"abs(", "abs("},
        {"ABS", "abs("},
        {"sin\xB4", "sin\xB4("},
        {"\x12" "dd", "\x12" "DD"},
        {"\xA8", "\xA8("},
        {"getkey", "getKey("},
        {"XOR", "xor"},
        {"EndFor", "EndFor"},
    };
    for (const Case& c : found) {
        SCOPED_TRACE(c.word);
        const CommandHelp* help = commandHelpForWord(c.word);
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->name, c.row);
    }
    // Prefixes, longer words, empty words and unknown names find nothing.
    for (std::string_view word : {"Fo", "Forr", "", "(", "a", "sin\xB5", "myprog"}) {
        EXPECT_EQ(commandHelpForWord(word), nullptr) << word;
    }
    // A lowercase Greek letter does not match its capital: only ASCII folds.
    EXPECT_EQ(commandHelpForWord("\x8F("), nullptr);
    EXPECT_NE(commandHelpForWord("\x8E("), nullptr);
}

TEST(CommandHelp, KnowsTheShapeOfWellKnownCommands) {
    struct Case {
        std::string_view row;
        CommandKind kind;
        std::string_view syntax;
    };
    const Case cases[] = {
        {"For", CommandKind::Statement, "For var, low, high [, step]"},
        {"EndFor", CommandKind::Statement, "EndFor"},
        {"ClrIO", CommandKind::Statement, "ClrIO"},
        {"Disp", CommandKind::Statement, "Disp [exprOrString1] [, exprOrString2] ..."},
        {"Input", CommandKind::Statement, "Input [promptString,] var"},
        {"Request", CommandKind::Statement, "Request promptString, var [, alphaFlag]"},
        {"PopUp", CommandKind::Statement, "PopUp itemList, var"},
        {"Output", CommandKind::Statement, "Output row, column, exprOrString"},
        {"PxlOn", CommandKind::Statement, "PxlOn row, col"},
        {"Line", CommandKind::Statement, "Line xStart, yStart, xEnd, yEnd [, drawMode]"},
        {"abs(", CommandKind::Function, "abs(expression1)"},
        {"seq(", CommandKind::Function, "seq(expression, var, low, high [, step])"},
        {"mid(", CommandKind::Function, "mid(sourceString, start [, count])"},
        {"when(", CommandKind::Function, "when(condition, trueResult [, falseResult] [, unknownResult])"},
        {"getKey(", CommandKind::Function, "getKey()"},
        {"\xBD(", CommandKind::Function, "\xBD(expression1, var [, lower] [, upper])"},
        {"and", CommandKind::Operator, "booleanExpression1 and booleanExpression2"},
        {"not", CommandKind::Operator, "not booleanExpression1"},
        {"\x12" "DMS", CommandKind::Operator, "expression \x12" "DMS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const CommandHelp* help = findCommandHelp(c.row);
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->kind, c.kind);
        EXPECT_EQ(help->syntax, c.syntax);
    }

    const CommandHelp* help = findCommandHelp("For");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(commandLine(*help, true), help->french);
    EXPECT_EQ(commandLine(*help, false), help->english);
    EXPECT_NE(help->english.find("EndFor"), std::string_view::npos);
}

}  // namespace
}  // namespace korvane
