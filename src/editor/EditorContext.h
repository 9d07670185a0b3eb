#pragma once
// What the editing commands share with the main window, and the protected frame
// of the editor text: the first 8 characters (CR LF "Prgm" CR LF) and the last 9
// (CR LF "EndPrgm", or the "Func" pair) are never edited.
#include <string>

#include "editor/TextEditor.h"

namespace korvane {

// The first caret position of the body.
constexpr int kFirstCaret = 8;
// The last caret position of the body is the length minus this.
constexpr int kLastCaretFromEnd = 9;

// True when text may be inserted, pasted or cut at `position`: from 8 up to but
// excluding length - 8.
constexpr bool inBodyWindow(int position, int length) {
    return position >= kFirstCaret && position < length - (kLastCaretFromEnd - 1);
}

// What the operations that rebuild the editor text share with the main window:
// the editor, the saved caret position and the text of the font-size list, which
// the full recolouring reads.
struct EditorContext {
    TextEditor& editor;
    int& posCurseur;
    std::string tailleText;
};

}  // namespace korvane
