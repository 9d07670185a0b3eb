#include "insert/Insertion.h"

#include <algorithm>

#include "editor/Colouring.h"

namespace korvane {

void ajoutText(EditorContext& context, const std::string& motCle, int txtFocus) {
    TextEditor& editor = context.editor;
    const int length = editor.length();
    const int caret = editor.caret();
    if (inBodyWindow(caret, length)) {
        context.posCurseur = caret;
        // Inserting in place keeps the edit history; the text, caret and colours
        // end up the same as if the whole text had been reassigned.
        editor.replaceRange(caret, 0, motCle);
        const long long target = static_cast<long long>(context.posCurseur) + txtFocus;
        editor.setCaret(static_cast<int>(std::clamp<long long>(target, 0, editor.length())));
    }
    editor.setFocus();
    colorierTout(editor, context.posCurseur, context.tailleText);
}

}  // namespace korvane
