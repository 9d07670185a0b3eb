// Help while writing, the rules without a window: where the caret stands, the
// command it names, what completion offers, the program's own names and lines, the
// keyboard's two-character signs, and code 180 read and written as ⁻¹.
#include <gtest/gtest.h>

#include "editor/CharTable.h"
#include "editor/WritingHelp.h"
#include "files/SyntaxCheck.h"

namespace korvane {
namespace {

const std::string kProgram =
    "\r\nPrgm\r\nLocal i, total,k\r\nFor i,1,10\r\nDisp i:Lbl top\r\nEndFor\r\n"
    "Define sq(x)=x^2\r\nDefine show()=Prgm\r\nDisp \"Lbl no\"\r\nEndPrgm\r\nDefine v=3 \xA9 Lbl no\r\nEndPrgm";

TEST(WritingHelp, LinesAndColumnsAreCountedAsTheSyntaxCheckCountsThem) {
    EXPECT_EQ(lineColumnOf(kProgram, 0), (LineColumn{1, 1}));
    EXPECT_EQ(lineColumnOf(kProgram, 2), (LineColumn{2, 1}));
    EXPECT_EQ(lineColumnOf(kProgram, 8), (LineColumn{3, 1}));  // the first body line
    EXPECT_EQ(lineColumnOf(kProgram, 14), (LineColumn{3, 7}));
    // Every line's start, as the check's lineStartOffset finds it, is column 1 of that line.
    const int lines = lineCount(kProgram);
    EXPECT_EQ(lines, 12);
    for (int line = 1; line <= lines; ++line)
        EXPECT_EQ(lineColumnOf(kProgram, lineStartOffset(kProgram, line)), (LineColumn{line, 1})) << line;
    // A line feed alone is a character of its line; the end of the text is on the last line.
    EXPECT_EQ(lineColumnOf("a\nb\r\nc", 3), (LineColumn{1, 4}));
    EXPECT_EQ(lineColumnOf(kProgram, 100000).line, lines);
}

TEST(WritingHelp, TheCommandAtTheCaretIsFoundInOrRightAfterItsName) {
    auto named = [](std::string_view line, int caret) {
        const CommandAtCaret at = commandAt(line, caret);
        return at.help ? std::string(at.help->name) : std::string("-");
    };
    // In the name, at its end, right after its "(", in any letter case.
    EXPECT_EQ(named("For i,1,10", 1), "For");
    EXPECT_EQ(named("For i,1,10", 3), "For");
    EXPECT_EQ(named("for i,1,10", 2), "For");
    EXPECT_EQ(named("x:=abs(y)", 5), "abs(");
    EXPECT_EQ(named("x:=abs(y)", 7), "abs(");
    const CommandAtCaret abs = commandAt("x:=abs(y)", 7);
    EXPECT_EQ(abs.start, 3);
    EXPECT_EQ(abs.length, 4);
    // Before the name, or in the arguments, is not on it.
    EXPECT_EQ(named("For i,1,10", 0), "-");
    EXPECT_EQ(named("x:=abs(y)", 8), "-");
    EXPECT_EQ(named("Disp forever", 10), "-");
    // A conversion after a value is found from its ▸; the inverse mark is part of a name.
    EXPECT_EQ(named("x\x12" "DMS", 5), "\x12" "DMS");
    EXPECT_EQ(named("x\x12" "DMS", 1), "-");
    EXPECT_EQ(named("a:=sin\xB4(b)", 8), "sin\xB4(");
    // Not in a string, not in a comment.
    EXPECT_EQ(named("Disp \"For\"", 9), "-");
    EXPECT_EQ(named("Disp 1 \xA9 For now", 12), "-");
    EXPECT_EQ(named("Disp \"a\":For", 12), "For");
}

TEST(WritingHelp, TheProgramsOwnNamesAndTheLinesOfItsLabelsAndDefinitions) {
    const std::vector<ProgramName> names = programNames("calc(a, bb)", kProgram);
    const std::vector<ProgramName> expected = {
        {"a", NameKind::Parameter, 1, "a"},
        {"bb", NameKind::Parameter, 1, "bb"},
        {"i", NameKind::Local, 3, "Local i"},
        {"total", NameKind::Local, 3, "Local total"},
        {"k", NameKind::Local, 3, "Local k"},
        {"top", NameKind::Label, 5, "Lbl top"},
        {"sq(", NameKind::Defined, 7, "Define sq(x)"},
        {"show(", NameKind::Defined, 8, "Define show()"},
        {"v", NameKind::Defined, 11, "Define v"},
    };
    EXPECT_EQ(names, expected);
    // No argument list, or an empty one: no parameters.
    EXPECT_TRUE(programNames("calc", "\r\nPrgm\r\n\r\nEndPrgm").empty());
    EXPECT_TRUE(programNames("calc()", "\r\nPrgm\r\n\r\nEndPrgm").empty());
}

TEST(WritingHelp, CompletionOffersCommandsAndOwnNamesByPrefix) {
    const std::vector<ProgramName> own = programNames("p(dist)", "\r\nPrgm\r\nLocal Dix\r\nDefine dig(n)=n\r\nEndPrgm");
    std::vector<std::string> words;
    for (const Completion& c : completionsFor("Di", own)) words.push_back(c.word);
    const std::vector<std::string> expected = {"diag(", "Dialog", "dig(", "dim(", "Disp", "DispG", "DispHome", "DispTbl", "dist", "Dix"};
    EXPECT_EQ(words, expected);
    // A command keeps its catalogue spelling and its help; an own name has none.
    const std::vector<Completion> lower = completionsFor("dISP", {});
    ASSERT_FALSE(lower.empty());
    EXPECT_EQ(lower.front().word, "Disp");
    ASSERT_NE(lower.front().help, nullptr);
    EXPECT_EQ(completionsFor("di", own)[2].help, nullptr);
    // An own name spelled as a command is offered once.
    EXPECT_EQ(completionsFor("disp", programNames("p(disp)", "")).size(), 4u);
    EXPECT_TRUE(completionsFor("zzz", own).empty());
    // The word before the caret is the prefix.
    EXPECT_EQ(wordStartBefore("x:=Di", 5), 3);
    EXPECT_EQ(wordStartBefore("x:=", 3), 3);
    EXPECT_EQ(wordStartBefore("sin\xB4", 4), 0);
}

TEST(WritingHelp, TheKeyboardsTwoCharacterSignsBecomeTheCalculatorsOutsideStrings) {
    EXPECT_EQ(digraphBefore("5->", 3), (Digraph{1, 0x16}));
    EXPECT_EQ(digraphBefore("If a>=b", 6), (Digraph{4, 0x9E}));
    EXPECT_EQ(digraphBefore("If a<=b", 6), (Digraph{4, 0x9C}));
    EXPECT_EQ(digraphBefore("If a/=b", 6), (Digraph{4, 0x9D}));
    EXPECT_EQ(digraphBefore("If a!=b", 6), (Digraph{4, 0x9D}));
    // Only the two characters just before the caret.
    EXPECT_EQ(digraphBefore("5->x", 4), std::nullopt);
    EXPECT_EQ(digraphBefore("a=>b", 3), std::nullopt);
    EXPECT_EQ(digraphBefore(">", 1), std::nullopt);
    // In a string they are text; after it, and in a comment, they are signs.
    EXPECT_EQ(digraphBefore("Disp \"a->", 9), std::nullopt);
    EXPECT_EQ(digraphBefore("Disp \"a\"->", 10), (Digraph{8, 0x16}));
    EXPECT_EQ(digraphBefore("\xA9 x->", 5), (Digraph{3, 0x16}));
}

TEST(WritingHelp, CatalogueSearchIgnoresTheCaseOfLetters) {
    EXPECT_TRUE(nameContains("ClrHome", "home"));
    EXPECT_TRUE(nameContains("ClrHome", "CLRH"));
    EXPECT_TRUE(nameContains("ClrHome", ""));
    EXPECT_FALSE(nameContains("ClrHome", "homes"));
    EXPECT_TRUE(nameContains("\x12" "DMS", "dms"));
    EXPECT_TRUE(nameContains("d\xE9" "but", "D\xC9"));  // é and É
    EXPECT_FALSE(nameContains("x\xD7y", "x\xF7"));       // × and ÷ are no letters
}

TEST(WritingHelp, TheInverseMarkReadsAndWritesAsSuperscriptMinusOne) {
    EXPECT_EQ(calcToUtf8("sin\xB4(x)"), "sin\u207B\u00B9(x)");
    EXPECT_EQ(utf8ToCalc("sin\u207B\u00B9(x)"), "sin\xB4(x)");
    // The superscript one alone stays code 185; a lone superscript minus has no code.
    EXPECT_EQ(utf8ToCalc("x\u00B9"), "x\xB9");
    int dropped = 0;
    EXPECT_EQ(utf8ToCalc("x\u207B", &dropped), "x");
    EXPECT_EQ(dropped, 1);
    // The one unit of the table is kept, so every code still has exactly one.
    EXPECT_EQ(codeOfUnit(unitOfCode(kInverseCode)), kInverseCode);
}

}  // namespace
}  // namespace korvane
