#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "editor/MemoryEditor.h"
#include "insert/Insertion.h"

namespace korvane {
namespace {

const std::string kEmptyProgram = "\r\nPrgm\r\n\r\nEndPrgm";  // 17 characters

struct Fixture {
    explicit Fixture(const std::string& text) : editor(text) {}
    MemoryEditor editor;
    int posCurseur = -1;
    EditorContext context{editor, posCurseur, "10"};
};

TEST(Insertion, BodyWindowLimits) {
    ASSERT_EQ(kEmptyProgram.size(), 17u);
    // Empty program: only the body line at 8 takes text; 7 and 9 (= L - 8) refuse.
    for (int caret : {7, 8, 9}) {
        Fixture f(kEmptyProgram);
        f.editor.setCaret(caret);
        ajoutText(f.context, "x", 1);
        if (caret == 8) {
            EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nx\r\nEndPrgm");
            EXPECT_EQ(f.editor.caret(), 9);
        } else {
            EXPECT_EQ(f.editor.text(), kEmptyProgram) << "caret " << caret;
            EXPECT_EQ(f.editor.caret(), caret);
        }
    }
    // A longer body: L - 9 (before the closing line break) inserts, L - 8 does not.
    const std::string text = "\r\nPrgm\r\nabc\r\nEndPrgm";
    const int length = static_cast<int>(text.size());
    Fixture last(text);
    last.editor.setCaret(length - 9);
    ajoutText(last.context, "Z", 0);
    EXPECT_EQ(last.editor.text(), "\r\nPrgm\r\nabcZ\r\nEndPrgm");
    EXPECT_EQ(last.posCurseur, length - 9);
    Fixture past(text);
    past.editor.setCaret(length - 8);
    ajoutText(past.context, "Z", 0);
    EXPECT_EQ(past.editor.text(), text);
}

TEST(Insertion, SelectionIsKeptAfterTheTextAndCaretFollowsTheOffset) {
    const std::string text = "\r\nPrgm\r\n0123456789abcdefghij\r\nEndPrgm";
    Fixture f(text);
    f.editor.setSelection(20, 5);
    ajoutText(f.context, "Disp ", 5);
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\n0123456789abDisp cdefghij\r\nEndPrgm");
    EXPECT_EQ(f.editor.caret(), 25);
    EXPECT_EQ(f.editor.selectionLength(), 0);
    EXPECT_TRUE(f.editor.hasFocus());

    Fixture before(kEmptyProgram);
    before.editor.setCaret(8);
    ajoutText(before.context, "For \r\n\r\nEndFor", 0);
    EXPECT_EQ(before.editor.caret(), 8);
    Fixture after(kEmptyProgram);
    after.editor.setCaret(8);
    ajoutText(after.context, "getKey()", 8);
    EXPECT_EQ(after.editor.caret(), 16);
}

TEST(Insertion, InsertedKeywordsAreRecolouredAndARefusedInsertionStillRecolours) {
    Fixture f(kEmptyProgram);
    f.editor.setCaret(8);
    ajoutText(f.context, "If  Then\r\n\r\nElse\r\n\r\nEndif", 3);
    // The full recolouring gives "Endif" its canonical case and the block colour.
    EXPECT_EQ(f.editor.text(), "\r\nPrgm\r\nIf  Then\r\n\r\nElse\r\n\r\nEndIf\r\nEndPrgm");
    EXPECT_EQ(f.editor.colourAt(8), rgb(0, 0, 255));
    EXPECT_EQ(f.editor.caret(), 11);

    Fixture refused("\r\nPrgm\r\nendif\r\nEndPrgm");
    refused.editor.setCaret(2);
    ajoutText(refused.context, "Disp ", 5);
    EXPECT_EQ(refused.editor.text(), "\r\nPrgm\r\nEndIf\r\nEndPrgm");
    EXPECT_EQ(refused.editor.caret(), 2);
    EXPECT_TRUE(refused.editor.hasFocus());
}

TEST(Insertion, BadInputDoesNotCrash) {
    Fixture empty("");
    ajoutText(empty.context, "Disp ", 5);
    EXPECT_EQ(empty.editor.text(), "");

    Fixture huge(kEmptyProgram);
    huge.editor.setCaret(8);
    ajoutText(huge.context, "abc", INT_MAX);
    EXPECT_EQ(huge.editor.caret(), huge.editor.length());
    Fixture negative(kEmptyProgram);
    negative.editor.setCaret(8);
    ajoutText(negative.context, "abc", INT_MIN);
    EXPECT_EQ(negative.editor.caret(), 0);

    Fixture big(kEmptyProgram);
    big.editor.setCaret(8);
    const std::string body(70000, 'a');
    ajoutText(big.context, body, static_cast<int>(body.size()));
    EXPECT_EQ(big.editor.caret(), 8 + 70000);
    EXPECT_EQ(big.posCurseur, 8 + 70000);
}

}  // namespace
}  // namespace korvane
