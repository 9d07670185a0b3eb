#include <gtest/gtest.h>

#include <random>

#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"
#include "support/LiteralColouring.h"
#include "support/WorkedExample.h"

namespace korvane {
namespace {

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Ti-89 JB;}}\r\n"
    "{\\colortbl ;\\red0\\green130\\blue0;\\red0\\green0\\blue255;\\red180\\green100\\blue100;\\red0\\green0\\blue0;}"
    "\r\n";

TEST(Colouring, WorkedExampleDocument) {
    EXPECT_EQ(coloriserDocument(worked::kText, ColourTable{}, "10"), worked::kDocument);
}

TEST(Colouring, LinesColourAsInsideTheWholeText) {
    const std::string before = "\r\nPrgm\r\nLocal a\r\n";
    const std::string lines = "if a>0 then:disp \"endif\" \xA9 while\r\n'For x";
    const std::string text = before + lines + "\r\nEndPrgm";
    MemoryEditor whole(text);
    int pos = 0;
    colorierTout(whole, pos, "10");
    MemoryEditor part(lines);
    part.applyColouring({}, coloursOfLines(lines));
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(part.colourAt(static_cast<int>(i)), whole.colourAt(static_cast<int>(before.size() + i))) << i;
    EXPECT_EQ(part.colourAt(0), ColourTable{}.bloc);
}

TEST(Colouring, FontSizePieceFollowsTheSizeList) {
    const std::string doc14 = coloriserDocument("x", ColourTable{}, "14");
    EXPECT_NE(doc14.find("\\fs28 x"), std::string::npos);
    EXPECT_NE(coloriserDocument("x", ColourTable{}, "10.5").find("\\fs21 x"), std::string::npos);
    // Not a number: the whole piece is left out, the rest stays.
    EXPECT_EQ(coloriserDocument("x", ColourTable{}, "abc"), kHead + "x\\cf0\\fs24\r\n\\par }");
    EXPECT_EQ(coloriserDocument("x", ColourTable{}, ""), kHead + "x\\cf0\\fs24\r\n\\par }");
}

TEST(Colouring, KeywordRulesMatchTheSpliceBySpliceAlgorithm) {
    // Random programs built from the pieces that decide colouring: keywords in any
    // case, each delimiter, quotes, apostrophes, comment marks and RTF specials.
    const std::vector<std::string> pieces = {
        "if", "IF", "EndIf", "endif", "ElseIf", "else", "Then", "disp", "Disp", "getkey", "get", "text",
        "Item", "EndCustom", "unarchiv", "Input", "inputstr", "For", "x", "abc", "1", " ", "(", ")", ",",
        ":", "=", "\"", "'", "\xA9", "\\", "{", "}", "\r\n", "\r\n", "\r", "/", "\\cf2 ", "\x16", "\xA9 "};
    std::mt19937 rng(20261205);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int count = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < count; ++i) text += pieces[rng() % pieces.size()];
        ASSERT_EQ(coloriserDocument(text, ColourTable{}, "10"), literal::document(text, "20")) << "text: " << text;
    }
}

TEST(Colouring, ColorierToutRewritesKeywordsColoursAndRestoresTheCaret) {
    MemoryEditor editor("\r\nPrgm\r\nx:=1:disp x:DISP\"a\"\r\n'if then\r\n\xA9 endif\r\nEndPrgm");
    editor.setSelection(12, 3);
    int posCurseur = -1;
    colorierTout(editor, posCurseur, "10");

    EXPECT_EQ(editor.text(), "\r\nPrgm\r\nx:=1:Disp x:DISP\"a\"\r\n'if then\r\n\xA9 EndIf\r\nEndPrgm");
    EXPECT_EQ(posCurseur, 12);
    EXPECT_EQ(editor.selectionStart(), 12);
    EXPECT_EQ(editor.selectionLength(), 0);

    const ColourTable colours;
    const std::string text = editor.text();
    EXPECT_EQ(editor.colourAt(text.find("Prgm")), colours.bloc);
    EXPECT_EQ(editor.colourAt(text.find("Disp")), colours.instr);
    EXPECT_EQ(editor.colourAt(text.find("DISP")), colours.ordinary);  // followed by a quote: no keyword
    EXPECT_EQ(editor.colourAt(text.find("then")), colours.ordinary);  // after an apostrophe
    EXPECT_EQ(editor.colourAt(text.find("EndIf")), colours.comment);
    EXPECT_EQ(editor.colourAt(text.find("\xA9")), colours.comment);
    EXPECT_EQ(editor.colourAt(text.rfind("EndPrgm")), colours.bloc);
}

TEST(Colouring, SpecialsAndCalculatorCodesComeBackUnchanged) {
    const std::string text = "\r\nPrgm\r\n{1,2}\\x\x16y \xA9 a\\b{c}\r\n\"\xA9 no\" Text\r\nEndPrgm";
    const ParsedDocument parsed = parseColouringDocument(coloriserDocument(text, ColourTable{}, "10"));
    EXPECT_EQ(parsed.text, text);
    const ColouringChange change = colouringChangeFor(text, parsed);
    ASSERT_TRUE(change.applicable);
    EXPECT_TRUE(change.rewrites.empty());
}

TEST(Colouring, DocumentThatDoesNotReadBackIsNotApplied) {
    // A backslash-c-f sequence typed inside a comment is cut by the comment pass;
    // the editor then keeps its text rather than lose characters.
    MemoryEditor editor("\r\nPrgm\r\n\xA9 a\\cf2 b\r\nEndPrgm");
    int pos = 0;
    colorierTout(editor, pos, "10");
    EXPECT_EQ(editor.text(), "\r\nPrgm\r\n\xA9 a\\cf2 b\r\nEndPrgm");
    EXPECT_EQ(editor.colourAt(2), kBlack);
}

}  // namespace
}  // namespace korvane
