#include <gtest/gtest.h>

#include <string>

#include "editor/MemoryEditor.h"
#include "editor/Search.h"

namespace korvane {
namespace {

const std::string kNotFound = "Le texte recherch\xC3\xA9 est introuvable";
const std::string kGoOn = "Voulez-vous continuer au d\xC3\xA9" "but du programme ?";

struct Fixture {
    explicit Fixture(const std::string& body) : editor("\r\nPrgm\r\n" + body + "\r\nEndPrgm") {}
    MemoryEditor editor;
    ScriptedPrompt prompt;
    TextSearch search{editor, prompt};
};

TEST(Search, FindsWithoutCaseAndMovesOn) {
    Fixture f("Disp a:disp b:DISP c");
    f.editor.setCaret(8);
    f.search.findNext("disp");
    EXPECT_EQ(f.editor.selectionStart(), 8);
    EXPECT_EQ(f.editor.selectionLength(), 4);
    f.search.findNext("disp");
    EXPECT_EQ(f.editor.selectionStart(), 15);
    f.search.findNext("disp");
    EXPECT_EQ(f.editor.selectionStart(), 22);
    EXPECT_TRUE(f.prompt.shown.empty());
    EXPECT_TRUE(f.editor.hasFocus());

    // The search starts at the end of the selection, wherever the caret was moved;
    // its first search position is the character left of that point.
    f.editor.setCaret(17);
    f.search.findNext("DiSp");
    EXPECT_EQ(f.editor.selectionStart(), 22);
    f.editor.setCaret(16);
    f.search.findNext("DiSp");
    EXPECT_EQ(f.editor.selectionStart(), 15);

    // Accented capitals match their small letters.
    Fixture accents("\xE9t\xE9");
    accents.search.findNext("\xC9T\xC9");
    EXPECT_EQ(accents.editor.selectionStart(), 8);
    EXPECT_EQ(accents.editor.selectionLength(), 3);
}

TEST(Search, EndOfTextAsksWhetherToGoOnFromTheTop) {
    Fixture yes("if a:if b");
    yes.editor.setSelection(13, 2);  // the last "if"
    yes.prompt.answers.push_back(PromptAnswer::Yes);
    yes.search.findNext("if");
    ASSERT_EQ(yes.prompt.shown.size(), 1u);
    EXPECT_EQ(yes.prompt.shown[0].text, kGoOn);
    EXPECT_EQ(yes.prompt.shown[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(yes.editor.selectionStart(), 8);
    EXPECT_EQ(yes.editor.selectionLength(), 2);

    Fixture no("if a:if b");
    no.editor.setSelection(13, 2);
    no.prompt.answers.push_back(PromptAnswer::No);
    no.search.findNext("if");
    EXPECT_EQ(no.prompt.shown.size(), 1u);
    EXPECT_EQ(no.editor.selectionStart(), 13);
    EXPECT_EQ(no.editor.selectionLength(), 2);
}

TEST(Search, TextOnlyInTheOpeningLinesIsNotFound) {
    Fixture f("x:y");
    f.editor.setCaret(9);
    f.search.findNext("prgm\r\n");
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_EQ(f.prompt.shown[0].text, kNotFound);
    EXPECT_EQ(f.prompt.shown[0].icon, PromptIcon::Warning);
    EXPECT_EQ(f.editor.caret(), 9);
    EXPECT_TRUE(f.editor.hasFocus());

    // The closing keyword is not excluded: "EndPrgm" is found after the body.
    Fixture end("x");
    end.editor.setCaret(8);
    end.search.findNext("endprgm");
    EXPECT_EQ(end.editor.selectionStart(), 11);
    EXPECT_TRUE(end.prompt.shown.empty());
}

TEST(Search, OneCharacterSearchStepsToTheNextOccurrence) {
    Fixture f("a:b:c");
    f.editor.setCaret(8);
    f.search.findNext(":");
    EXPECT_EQ(f.editor.selectionStart(), 9);
    EXPECT_EQ(f.editor.selectionLength(), 1);
    f.search.findNext(":");
    EXPECT_EQ(f.editor.selectionStart(), 11);
    // From a caret without selection the step lands on the character after it.
    f.editor.setCaret(9);
    f.search.findNext(":");
    EXPECT_EQ(f.editor.selectionStart(), 9);
    // A longer text has no step: its search begins one character left of the caret.
    f.editor.setCaret(10);
    f.search.findNext(":b");
    EXPECT_EQ(f.editor.selectionStart(), 9);
    EXPECT_EQ(f.editor.selectionLength(), 2);
}

TEST(Search, ReplaceTakesTheSelectionWhateverItHolds) {
    Fixture f("Disp x");
    f.editor.setSelection(8, 4);
    f.search.replace("Output");
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nOutput x\r\nEndPrgm");
    EXPECT_EQ(f.editor.caret(), 14);
    f.editor.setCaret(16);
    f.search.replace("yz");
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nOutput xyz\r\nEndPrgm");

    // Bad input: empty search text and an empty editor ask nothing and change nothing.
    Fixture empty("");
    empty.search.findNext("");
    EXPECT_TRUE(empty.prompt.shown.empty());
    MemoryEditor nothing("");
    ScriptedPrompt prompt;
    TextSearch search(nothing, prompt);
    search.findNext("a");
    search.replace("b");
    EXPECT_EQ(nothing.text(), "b");
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST(Search, CaptionsAreFrenchOnlyForExactlyFr) {
    EXPECT_EQ(searchCaptions("Fr").lblRemplacer, "Remplacer par :");
    EXPECT_EQ(searchCaptions("En").lblRemplacer, "Replace by :");
    // Unlike the main window, which is English only for exactly "En", the dialog is
    // French only for exactly "Fr".
    EXPECT_EQ(searchCaptions("fr").title, "Search");
    EXPECT_EQ(searchCaptions("1").cmdSuivant, "Next");
}

}  // namespace
}  // namespace korvane
