#pragma once
// Colouring while typing and the caret guards of the editor. The Qt adapter only
// forwards its key, double-click and selection events here; everything the rules
// change goes through the editor interface.
#include <string>

#include "editor/EditorContext.h"

namespace korvane {

// Virtual-key codes of the keys these rules look at. A key release carries the
// code of the press it ends.
namespace vk {
constexpr int Backspace = 8;
constexpr int Return = 13;
constexpr int Space = 32;
constexpr int Home = 36;
constexpr int Right = 39;
constexpr int Delete = 46;
// The main block's "5" key, which types "(" on a French layout, and any key typing "(".
constexpr int OpenParen = 53;
}  // namespace vk

// The colours of colouring while typing. The block-word blue differs on purpose
// from the (0, 0, 255) of the full recolouring.
struct TypingColours {
    Rgb comment = rgb(0, 130, 0);
    Rgb ordinary = rgb(0, 0, 0);
    Rgb bloc = rgb(0, 0, 250);
    Rgb instr = rgb(180, 100, 100);
};

// True for the keys whose release recolours the line: Return, Space, Right and
// the "(" key.
bool isColouringTrigger(int keyCode);

// Recolours the line around the caret (the line just left for Return and Right),
// rewriting keywords in their canonical form in place. Never removes or moves a
// character; the caret and the selection are as before afterwards.
void coloriserLigne(TextEditor& editor, const TypingColours& colours, int keyCode);

// What the window does after the editor handled a key release.
enum class ReleaseEffect {
    None,
    // The caret was in the opening lines: it went to the body's start, and the
    // name field takes the focus with its caret at its start.
    FocusNameField,
};

// A key was released in the editor: keeps the caret out of the protected lines,
// then recolours the line for a trigger key and makes new text ordinary.
ReleaseEffect handleKeyRelease(TextEditor& editor, int keyCode);

enum class PressEffect {
    Proceed,
    // The editor acts as if Home had been pressed instead; nothing is deleted.
    ReplaceWithHome,
    // The key does nothing.
    Ignore,
    // The key does nothing and the name field takes the focus, its caret at its start.
    FocusNameField,
};

// A key is about to be handled by the editor: Backspace at the body's start and
// Delete at its end (with nothing selected) must not eat into the protected lines.
PressEffect handleKeyPress(const TextEditor& editor, int keyCode);

// A key that changes the text (a typed character, Return, Backspace, Delete) is
// about to act with the caret or the selection in the protected lines, where a
// click below the text or in the first lines can put them: the caret is first
// brought into the body, so the key never edits the frame. In the opening lines
// the key is dropped and the name field takes the focus, as on a key release
// there; past the body's end a typed character goes in at the end of the body
// and a deletion is dropped.
PressEffect guardEditingKey(TextEditor& editor, bool deletes);

// Return with the caret at the end of the "Prgm" or "Func" line and nothing
// selected: a new empty line opens at the body's start and the caret goes there.
// False, changing nothing, when the caret stands anywhere else.
bool openFirstBodyLine(TextEditor& editor);

// Deletes what a deleting key combination (a word, the rest of a line) reaches
// from `start` to `end`, cut down to the body: the protected lines stay whole.
void deleteWithinBody(TextEditor& editor, int start, int end);

// A double-click in the editor: the caret is brought back into the body and the
// editor takes the focus.
void handleDoubleClick(TextEditor& editor);

// Keeps every selection, the user's or the program's, off the closing line break
// and keyword. Holds a flag so that the selection it sets itself, which reports a
// new selection change, is let through.
class SelectionGuard {
public:
    void handleSelectionChange(TextEditor& editor);

private:
    bool busy_ = false;
};

// A position between the CR and the LF of a line break, moved to before the CR.
int snapOutOfLineBreak(const std::string& text, int position);

}  // namespace korvane
