#include <gtest/gtest.h>

#include <string>

#include "editor/Clipboard.h"
#include "editor/EditMenu.h"
#include "editor/MemoryEditor.h"

namespace korvane {
namespace {

const std::string kHeader = "\r\nPrgm\r\n";
const std::string kTrailer = "\r\nEndPrgm";

struct Fixture {
    explicit Fixture(const std::string& body) : editor(kHeader + body + kTrailer) {}
    std::string body() const {
        const std::string text = editor.text();
        return text.substr(kHeader.size(), text.size() - kHeader.size() - kTrailer.size());
    }
    MemoryEditor editor;
    MemoryClipboard clipboard;
    int posCurseur = -1;
    EditorContext context{editor, posCurseur, "10"};
};

TEST(Clipboard, PasteGoesInAtTheSelectionStartAndKeepsTheSelectedText) {
    Fixture f("abcdef");
    f.clipboard.setText("XY");
    f.editor.setSelection(8 + 2, 3);
    coller(f.context, f.clipboard);
    EXPECT_EQ(f.body(), "abXYcdef");
    EXPECT_EQ(f.editor.caret(), 8 + 4);
    EXPECT_EQ(f.editor.selectionLength(), 0);
    EXPECT_TRUE(f.editor.hasFocus());

    // A pasted keyword is given its canonical form and colour by the recolouring;
    // lone line feeds become line breaks.
    Fixture k("");
    k.clipboard.setText("endwhile\nx");
    k.editor.setCaret(8);
    coller(k.context, k.clipboard);
    EXPECT_EQ(k.body(), "EndWhile\r\nx");
    EXPECT_EQ(k.editor.colourAt(8), rgb(0, 0, 255));
    EXPECT_EQ(k.editor.caret(), 8 + 11);

    // An empty clipboard pastes nothing.
    Fixture none("ab");
    none.editor.setCaret(9);
    coller(none.context, none.clipboard);
    EXPECT_EQ(none.body(), "ab");
}

TEST(Clipboard, PasteAndCutRefuseTheFrame) {
    for (int caret : {7, 11}) {  // 11 is L - 8 for a body of "ab"
        Fixture paste("ab");
        paste.clipboard.setText("Z");
        paste.editor.setCaret(caret);
        coller(paste.context, paste.clipboard);
        EXPECT_EQ(paste.body(), "ab") << caret;

        Fixture cut("ab");
        cut.editor.setSelection(caret, 2);
        cut.clipboard.setText("kept");
        couper(cut.context, cut.clipboard);
        EXPECT_EQ(cut.editor.text(), kHeader + "ab" + kTrailer) << caret;
        EXPECT_EQ(cut.clipboard.text(), "kept");
    }
    Fixture last("ab");
    last.clipboard.setText("Z");
    last.editor.setCaret(10);  // L - 9
    coller(last.context, last.clipboard);
    EXPECT_EQ(last.body(), "abZ");
}

TEST(Clipboard, CopyAndCutLeaveTheCaretAtTheSelectionStart) {
    Fixture copy("stop here");
    copy.clipboard.setText("old");
    copy.editor.setCaret(9);
    copier(copy.context, copy.clipboard);
    EXPECT_EQ(copy.clipboard.text(), "old");  // nothing selected: unchanged
    EXPECT_EQ(copy.body(), "Stop here");  // copying recolours
    copy.editor.setSelection(8, 4);
    copier(copy.context, copy.clipboard);
    EXPECT_EQ(copy.clipboard.text(), "Stop");
    EXPECT_EQ(copy.editor.caret(), 8);
    EXPECT_EQ(copy.editor.selectionLength(), 0);

    Fixture cut("abc\r\ndef");
    // The selection ends between the CR and the LF: the whole line break stays.
    cut.editor.setSelection(8 + 1, 3);
    couper(cut.context, cut.clipboard);
    EXPECT_EQ(cut.clipboard.text(), "bc");
    EXPECT_EQ(cut.body(), "a\r\ndef");
    EXPECT_EQ(cut.editor.caret(), 9);
    EXPECT_EQ(cut.editor.selectionLength(), 0);
}

TEST(Clipboard, SelectAllTakesTheBodyWithoutItsLastLineBreak) {
    Fixture empty("");
    selectall(empty.editor);
    EXPECT_EQ(empty.editor.selectionStart(), 8);
    EXPECT_EQ(empty.editor.selectionLength(), 0);
    EXPECT_TRUE(empty.editor.hasFocus());

    Fixture body("a\r\nbc");
    selectall(body.editor);
    EXPECT_EQ(body.editor.selectionStart(), 8);
    EXPECT_EQ(body.editor.selectionLength(), 5);

    MemoryEditor tiny("ab");
    selectall(tiny);
    EXPECT_EQ(tiny.selectionLength(), 0);
}

TEST(Clipboard, EditMenuCaptionsAreEnglishOnlyForExactlyEn) {
    EXPECT_EQ(editMenuCaptions("Fr").selectall, "Tout s\xC3\xA9lectionner");
    EXPECT_EQ(editMenuCaptions("En").selectall, "Select all");
    EXPECT_EQ(editMenuCaptions("en").rechercher, "Rechercher");
    EXPECT_EQ(editMenuCaptions("1").edition, "Edition");
}

}  // namespace
}  // namespace korvane
