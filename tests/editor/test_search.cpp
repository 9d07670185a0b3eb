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

TEST(Search, ReplaceTakesOnlyASelectedOccurrence) {
    Fixture f("Disp x:disp y");
    // Nothing selected: the next occurrence is found first, nothing replaced.
    f.editor.setCaret(10);
    f.search.replace("DISP", "Output");
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nDisp x:disp y\r\nEndPrgm");
    EXPECT_EQ(f.editor.selectionStart(), 15);
    EXPECT_EQ(f.editor.selectionLength(), 4);
    f.search.replace("DISP", "Output");
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nDisp x:Output y\r\nEndPrgm");
    EXPECT_EQ(f.editor.caret(), 21);
    // A selection that is not the searched text is not replaced.
    f.editor.setSelection(13, 1);
    f.search.replace("DISP", "Output");
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nDisp x:Output y\r\nEndPrgm");
    EXPECT_TRUE(f.prompt.shown.size() == 1 && f.prompt.shown[0].text == kGoOn);
    // The closing keyword is found but never replaced.
    Fixture end("x");
    end.editor.setSelection(11, 7);
    end.search.replace("endprgm", "y");
    EXPECT_EQ(end.editor.text(), "\r\nPrgm\r\nx\r\nEndPrgm");

    // Bad input: empty search text and an empty editor ask nothing and change nothing.
    Fixture empty("");
    empty.search.findNext("");
    empty.search.replace("", "b");
    EXPECT_EQ(empty.search.replaceAll("", "b"), 0);
    EXPECT_TRUE(empty.prompt.shown.empty());
    MemoryEditor nothing("");
    ScriptedPrompt prompt;
    TextSearch search(nothing, prompt);
    search.replace("a", "b");
    EXPECT_EQ(search.replaceAll("a", "b"), 0);
    EXPECT_EQ(nothing.text(), "");
}

TEST(Search, ReplaceAllTakesEveryOccurrenceOfTheBodyAndSaysHowMany) {
    Fixture f("disp a:Disp b\r\nDISP c");
    f.editor.setCaret(21);  // after "b"
    EXPECT_EQ(f.search.replaceAll("disp", "Output"), 3);
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nOutput a:Output b\r\nOutput c\r\nEndPrgm");
    EXPECT_EQ(f.editor.caret(), 25);  // still after "b"
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_EQ(f.prompt.shown[0].text, "3 occurrence(s) remplac\xC3\xA9" "e(s)");
    f.search.setLangue("En");
    EXPECT_EQ(f.search.replaceAll("Prgm", "x"), 0);  // only the frame holds it
    EXPECT_EQ(f.prompt.shown.back().text, "0 occurrence(s) replaced");
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nOutput a:Output b\r\nOutput c\r\nEndPrgm");
}

TEST(Search, CaptionsFollowTheInterfaceLanguage) {
    EXPECT_EQ(searchCaptions("Fr").lblRemplacer, "Remplacer par :");
    EXPECT_EQ(searchCaptions("En").lblRemplacer, "Replace by :");
    EXPECT_EQ(searchCaptions("En").cmdRemplacerTout, "Replace all");
    // French for anything but exactly "En", the first run's missing key included.
    EXPECT_EQ(searchCaptions("1").cmdSuivant, "Suivant");
    EXPECT_EQ(searchCaptions("en").title, "Rechercher");
    Fixture f("a");
    f.search.setLangue("En");
    f.search.findNext("zz");
    EXPECT_EQ(f.prompt.shown.at(0).text, "The searched text cannot be found");
}

}  // namespace
}  // namespace korvane
