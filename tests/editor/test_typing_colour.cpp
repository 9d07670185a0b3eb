#include <gtest/gtest.h>

#include <string>

#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"
#include "editor/TypingColour.h"

namespace korvane {
namespace {

const Rgb kComment = rgb(0, 130, 0);
const Rgb kBloc = rgb(0, 0, 250);
const Rgb kInstr = rgb(180, 100, 100);
const Rgb kOrdinary = rgb(0, 0, 0);
const Rgb kGrey = rgb(1, 2, 3);

const std::string kHeader = "\r\nPrgm\r\n";
const std::string kTrailer = "\r\nEndPrgm";

// A program whose body is `body`, every character painted a colour that no rule
// gives, so that what the typing rules colour shows.
MemoryEditor program(const std::string& body) {
    MemoryEditor editor(kHeader + body + kTrailer);
    editor.setColour(0, editor.length(), kGrey);
    return editor;
}

// Types `typed` at the caret, then releases the key `key` as the editor would.
void type(MemoryEditor& editor, const std::string& typed, int key) {
    editor.replaceRange(editor.caret(), 0, typed);
    handleKeyRelease(editor, key);
}

std::string body(const MemoryEditor& editor) {
    const std::string text = editor.text();
    return text.substr(kHeader.size(), text.size() - kHeader.size() - kTrailer.size());
}

// The colour of the body character at `i`.
Rgb colourIn(const MemoryEditor& editor, int i) { return editor.colourAt(static_cast<int>(kHeader.size()) + i); }

TEST(TypingColour, KeywordsTakeTheirFormAndColourOnTriggerKeys) {
    MemoryEditor editor = program("endif");
    editor.setCaret(8 + 5);
    type(editor, " ", vk::Space);
    EXPECT_EQ(body(editor), "EndIf ");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(colourIn(editor, i), kBloc) << i;
    EXPECT_EQ(colourIn(editor, 5), kOrdinary);
    EXPECT_EQ(editor.caret(), 8 + 6);
    // What is typed next is in the ordinary colour.
    editor.replaceRange(editor.caret(), 0, "x");
    EXPECT_EQ(colourIn(editor, 6), kOrdinary);

    MemoryEditor paren = program("disp");
    paren.setCaret(8 + 4);
    type(paren, "(", vk::OpenParen);
    EXPECT_EQ(body(paren), "Disp(");
    EXPECT_EQ(colourIn(paren, 0), kInstr);

    // Only the trigger keys recolour.
    MemoryEditor letter = program("endif");
    letter.setCaret(8 + 5);
    type(letter, "x", 'X');
    EXPECT_EQ(body(letter), "endifx");
    EXPECT_EQ(colourIn(letter, 0), kGrey);
}

TEST(TypingColour, ReturnAndRightColourTheLineJustLeft) {
    MemoryEditor enter = program("while x\r\nendwhile");
    enter.setCaret(8 + 7);
    type(enter, "\r\n", vk::Return);
    EXPECT_EQ(body(enter), "While x\r\n\r\nendwhile");
    EXPECT_EQ(colourIn(enter, 0), kBloc);
    EXPECT_EQ(colourIn(enter, 11), kGrey);  // the line below is not touched

    // Right arrow onto the next line: the line left is recoloured.
    MemoryEditor right = program("stop\r\ny");
    right.setCaret(8 + 6);
    handleKeyRelease(right, vk::Right);
    EXPECT_EQ(body(right), "Stop\r\ny");
    EXPECT_EQ(colourIn(right, 0), kInstr);
    EXPECT_EQ(colourIn(right, 6), kGrey);

    // Right arrow inside a line only resets the character left of the caret.
    MemoryEditor inside = program("stop abc");
    inside.setCaret(8 + 6);
    handleKeyRelease(inside, vk::Right);
    EXPECT_EQ(body(inside), "stop abc");
    EXPECT_EQ(colourIn(inside, 5), kOrdinary);
    EXPECT_EQ(colourIn(inside, 4), kGrey);
    EXPECT_EQ(colourIn(inside, 6), kGrey);
}

TEST(TypingColour, WordCharactersDelimitersAndSkippedCharacters) {
    // "0" ends a word; "1" belongs to it.
    MemoryEditor digits = program("disp0 disp1");
    digits.setCaret(8 + 11);
    type(digits, " ", vk::Space);
    EXPECT_EQ(body(digits), "Disp0 disp1 ");
    EXPECT_EQ(colourIn(digits, 0), kInstr);
    EXPECT_EQ(colourIn(digits, 4), kOrdinary);
    EXPECT_EQ(colourIn(digits, 6), kOrdinary);

    // An apostrophe is passed over: "dis'p" is the word "disp". Its own letters
    // take the keyword's form where they stand; the apostrophe stays in place.
    MemoryEditor apostrophe = program("dis'p");
    apostrophe.setCaret(8 + 5);
    type(apostrophe, " ", vk::Space);
    EXPECT_EQ(body(apostrophe), "Dis'p ");
    EXPECT_EQ(colourIn(apostrophe, 0), kInstr);
    EXPECT_EQ(colourIn(apostrophe, 4), kInstr);

    // Directly before a quote or a comment opener a keyword is not coloured; between
    // two strings it is.
    MemoryEditor strings = program("disp\"a\" disp \"b\" stop\xA9 x");
    strings.setCaret(8 + 24);
    type(strings, " ", vk::Space);
    EXPECT_EQ(body(strings), "disp\"a\" Disp \"b\" stop\xA9 x ");
    EXPECT_EQ(colourIn(strings, 0), kOrdinary);
    EXPECT_EQ(colourIn(strings, 8), kInstr);
    EXPECT_EQ(colourIn(strings, 17), kOrdinary);
    EXPECT_EQ(colourIn(strings, 21), kComment);
}

TEST(TypingColour, UnclosedQuoteStopsTheScan) {
    MemoryEditor editor = program("if x:\"abc then");
    editor.setCaret(8 + 14);
    type(editor, " ", vk::Space);
    EXPECT_EQ(body(editor), "If x:\"abc then ");
    EXPECT_EQ(colourIn(editor, 0), kBloc);
    EXPECT_EQ(colourIn(editor, 10), kOrdinary);  // reset with the line, never coloured
}

TEST(TypingColour, CommentsWhileTypingAndAfterAFullRecolouring) {
    MemoryEditor editor = program("x // disp y");
    editor.setCaret(8 + 11);
    type(editor, " ", vk::Space);
    // "//" opens a comment while typing: words in it keep their case and take the
    // comment colour up to the end of the line.
    EXPECT_EQ(body(editor), "x // disp y ");
    for (int i = 2; i < 12; ++i) EXPECT_EQ(colourIn(editor, i), kComment) << i;
    EXPECT_EQ(colourIn(editor, 0), kOrdinary);

    // The full recolouring knows only "©": "//" is ordinary text there.
    int posCurseur = 0;
    colorierTout(editor, posCurseur, "10");
    EXPECT_EQ(body(editor), "x // Disp y ");
    EXPECT_EQ(colourIn(editor, 2), kOrdinary);
    EXPECT_EQ(colourIn(editor, 5), rgb(180, 100, 100));

    MemoryEditor mark = program("\xA9 stop\r\nstop");
    mark.setCaret(8 + 6);
    type(mark, " ", vk::Space);
    EXPECT_EQ(body(mark), "\xA9 stop \r\nstop");
    EXPECT_EQ(colourIn(mark, 2), kComment);
    EXPECT_EQ(colourIn(mark, 9), kGrey);  // the next line is out of the scan
}

TEST(TypingColour, CaretAndSelectionAreRestored) {
    MemoryEditor editor = program("if a\r\nb");
    editor.setSelection(8 + 6, 1);
    coloriserLigne(editor, TypingColours{}, vk::Return);
    EXPECT_EQ(editor.selectionStart(), 8 + 6);
    EXPECT_EQ(editor.selectionLength(), 1);
    EXPECT_EQ(body(editor), "If a\r\nb");

    // Out-of-range and empty editors are left alone.
    MemoryEditor empty("");
    handleKeyRelease(empty, vk::Space);
    coloriserLigne(empty, TypingColours{}, vk::Return);
    EXPECT_EQ(empty.text(), "");
}

TEST(TypingColour, CaretGuardsKeepTheFrame) {
    MemoryEditor editor = program("abc");  // length 20, body positions 8 to 11
    editor.setCaret(3);
    EXPECT_EQ(handleKeyRelease(editor, 'A'), ReleaseEffect::FocusNameField);
    EXPECT_EQ(editor.caret(), 8);
    editor.setCaret(15);
    EXPECT_EQ(handleKeyRelease(editor, 'A'), ReleaseEffect::None);
    EXPECT_EQ(editor.caret(), 11);
    editor.setCaret(11);
    EXPECT_EQ(handleKeyRelease(editor, 'A'), ReleaseEffect::None);
    EXPECT_EQ(editor.caret(), 11);

    editor.setCaret(8);
    EXPECT_EQ(handleKeyPress(editor, vk::Backspace), PressEffect::ReplaceWithHome);
    EXPECT_EQ(handleKeyPress(editor, vk::Delete), PressEffect::Proceed);
    editor.setSelection(8, 2);
    EXPECT_EQ(handleKeyPress(editor, vk::Backspace), PressEffect::Proceed);
    editor.setCaret(9);
    EXPECT_EQ(handleKeyPress(editor, vk::Backspace), PressEffect::Proceed);
    editor.setCaret(11);
    EXPECT_EQ(handleKeyPress(editor, vk::Delete), PressEffect::ReplaceWithHome);

    editor.setCaret(2);
    handleDoubleClick(editor);
    EXPECT_EQ(editor.caret(), 8);
    EXPECT_TRUE(editor.hasFocus());
    editor.setSelection(16, 3);
    handleDoubleClick(editor);
    EXPECT_EQ(editor.caret(), 11);
    EXPECT_EQ(editor.selectionLength(), 0);
}

// An editor that reports every selection it is given to the guard, as the Qt
// widget does through its selection signal.
class ReportingEditor : public MemoryEditor {
public:
    using MemoryEditor::MemoryEditor;
    void setSelection(int start, int length) override {
        ++changes;
        MemoryEditor::setSelection(start, length);
        guard.handleSelectionChange(*this);
    }
    SelectionGuard guard;
    int changes = 0;
};

TEST(TypingColour, SelectionGuardKeepsTheClosingLinesOut) {
    ReportingEditor editor(kHeader + "abc" + kTrailer);  // length 20
    editor.setSelection(9, 11);
    // Cut back to end at L - 8, which lies inside the closing line break and so
    // comes back to before its CR.
    EXPECT_EQ(editor.selectionStart(), 9);
    EXPECT_EQ(editor.selectionLength(), 2);
    EXPECT_EQ(editor.changes, 2);  // the guard's own selection is not guarded again

    editor.setSelection(8, 3);  // ends at L - 9: untouched
    EXPECT_EQ(editor.selectionLength(), 3);
    editor.setSelection(10, 6);
    EXPECT_EQ(editor.selectionStart(), 10);
    EXPECT_EQ(editor.selectionLength(), 1);
    editor.setSelection(12, 0);
    EXPECT_EQ(editor.selectionLength(), 0);
}

TEST(TypingColour, EditingKeysInTheFrameEditOnlyTheBody) {
    MemoryEditor editor("\r\nPrgm\r\nab\r\nEndPrgm");
    editor.setCaret(editor.length());
    EXPECT_EQ(guardEditingKey(editor, true), PressEffect::Ignore);
    EXPECT_EQ(editor.caret(), 10);
    editor.setCaret(editor.length() - 2);
    EXPECT_EQ(guardEditingKey(editor, false), PressEffect::Proceed);
    EXPECT_EQ(editor.caret(), 10);
    editor.setCaret(4);
    EXPECT_EQ(guardEditingKey(editor, false), PressEffect::FocusNameField);
    EXPECT_EQ(editor.caret(), 8);
    // A selection reaching into the opening lines keeps only its body part.
    editor.setSelection(3, 7);
    EXPECT_EQ(guardEditingKey(editor, false), PressEffect::Proceed);
    EXPECT_EQ(editor.selectionStart(), 8);
    EXPECT_EQ(editor.selectionLength(), 2);
    editor.setSelection(9, 1);
    EXPECT_EQ(guardEditingKey(editor, true), PressEffect::Proceed);
    EXPECT_EQ(editor.selectionStart(), 9);
}

TEST(TypingColour, ReturnAfterTheOpeningKeywordOpensTheFirstBodyLine) {
    MemoryEditor editor("\r\nFunc\r\nab\r\nEndFunc");
    editor.setCaret(5);  // inside "Func": not the end of the line
    EXPECT_FALSE(openFirstBodyLine(editor));
    editor.setSelection(6, 2);
    EXPECT_FALSE(openFirstBodyLine(editor));
    EXPECT_EQ(editor.text(), "\r\nFunc\r\nab\r\nEndFunc");
    editor.setCaret(6);
    EXPECT_TRUE(openFirstBodyLine(editor));
    EXPECT_EQ(editor.text(), "\r\nFunc\r\n\r\nab\r\nEndFunc");
    EXPECT_EQ(editor.caret(), 8);
}

TEST(TypingColour, DeletionsStopAtTheProtectedLines) {
    const std::string text = "\r\nPrgm\r\nab cd\r\nef\r\nEndPrgm";
    MemoryEditor editor(text);
    // A reach past either end of the body is cut down to it.
    deleteWithinBody(editor, 2, 10);
    EXPECT_EQ(editor.text(), "\r\nPrgm\r\n cd\r\nef\r\nEndPrgm");
    EXPECT_EQ(editor.caret(), 8);
    deleteWithinBody(editor, editor.length(), 11);
    EXPECT_EQ(editor.text(), "\r\nPrgm\r\n cd\r\nEndPrgm");
    // A reach that ends between a CR and its LF leaves the line break whole.
    editor.replaceRange(11, 0, "x\r\nyy");
    deleteWithinBody(editor, 9, 13);
    EXPECT_EQ(editor.text(), "\r\nPrgm\r\n \r\nyy\r\nEndPrgm");
    // A reach wholly in the opening lines deletes nothing.
    deleteWithinBody(editor, 0, 6);
    EXPECT_EQ(editor.text(), "\r\nPrgm\r\n \r\nyy\r\nEndPrgm");
}

}  // namespace
}  // namespace korvane
