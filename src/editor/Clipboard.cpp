#include "editor/Clipboard.h"

#include <algorithm>

#include "editor/CharTable.h"
#include "editor/Colouring.h"
#include "editor/TypingColour.h"

namespace korvane {
namespace {

void recolourAndFocus(EditorContext& context) {
    colorierTout(context.editor, context.posCurseur, context.tailleText);
    context.editor.setFocus();
}

// The selection with both ends moved off the middle of a line break, so a cut or
// a copy never carries half of one.
struct Range {
    int start;
    int length;
};
Range wholeLineBreakSelection(const TextEditor& editor, const std::string& text) {
    const int start = snapOutOfLineBreak(text, editor.selectionStart());
    const int end = snapOutOfLineBreak(text, editor.selectionStart() + editor.selectionLength());
    return {start, std::max(end - start, 0)};
}

}  // namespace

void couper(EditorContext& context, ClipboardPort& clipboard) {
    TextEditor& editor = context.editor;
    const std::string text = editor.text();
    if (inBodyWindow(editor.caret(), editor.length())) {
        const Range selected = wholeLineBreakSelection(editor, text);
        context.posCurseur = selected.start;
        if (selected.length > 0) {
            clipboard.clear();
            clipboard.setText(text.substr(selected.start, selected.length));
            editor.replaceRange(selected.start, selected.length, {});
        }
        editor.setCaret(context.posCurseur);
    }
    recolourAndFocus(context);
}

void copier(EditorContext& context, ClipboardPort& clipboard) {
    TextEditor& editor = context.editor;
    const std::string text = editor.text();
    const Range selected = wholeLineBreakSelection(editor, text);
    context.posCurseur = editor.caret();
    if (selected.length > 0) {
        clipboard.clear();
        clipboard.setText(text.substr(selected.start, selected.length));
    }
    editor.setCaret(context.posCurseur);
    recolourAndFocus(context);
}

void coller(EditorContext& context, ClipboardPort& clipboard) {
    TextEditor& editor = context.editor;
    if (inBodyWindow(editor.caret(), editor.length())) {
        const int caret = snapOutOfLineBreak(editor.text(), editor.caret());
        context.posCurseur = caret;
        // The model never holds a lone CR or LF, whatever the clipboard brought.
        const std::string pasted = normaliseLineBreaks(clipboard.text().value_or(std::string()));
        editor.replaceRange(caret, 0, pasted);
        editor.setCaret(context.posCurseur + static_cast<int>(pasted.size()));
    }
    recolourAndFocus(context);
}

void selectall(TextEditor& editor) {
    editor.setFocus();
    const int length = editor.length();
    const int end = snapOutOfLineBreak(editor.text(), length - (kLastCaretFromEnd - 1));
    editor.setSelection(kFirstCaret, std::max(end - kFirstCaret, 0));
}

}  // namespace korvane
