#include "editor/TypingColour.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "editor/Colouring.h"

namespace korvane {
namespace {

constexpr unsigned char kCommentMark = 0xA9;  // "©"

// Characters that make up a word while typing. The digit 0 is not one of them, so
// "Disp0" ends the word "Disp".
bool isWordCharacter(unsigned char c) {
    return c == '!' || (c >= '#' && c <= '&') || c == '.' || c == '<' || c == '>' || (c >= '1' && c <= '9') ||
           (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerCopy(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
    return out;
}

// A keyword list with its lower-case copy, for matching without regard to case.
struct KeywordList {
    std::string_view words;
    std::string lowered;
    Rgb TypingColours::*colour;
};

const std::vector<KeywordList>& keywordLists() {
    static const std::vector<KeywordList> lists = {
        {motsBloc, lowerCopy(motsBloc), &TypingColours::bloc},
        {motsInstr, lowerCopy(motsInstr), &TypingColours::instr},
    };
    return lists;
}

// One line scan of coloriserLigne. `text_` is the editor text, kept equal to it as
// keywords are rewritten (rewrites never change the length).
class LineScan {
public:
    LineScan(TextEditor& editor, const TypingColours& colours) : editor_(editor), colours_(colours), text_(editor.text()) {}

    void run(int caret, int keyCode) {
        const int len = static_cast<int>(text_.size());
        if (caret < 0 || caret > len) return;
        const int caretLine = editor_.lineOfPosition(caret);
        int line = caretLine;
        int a = caret;
        int b = caret;
        if (keyCode == vk::Return || keyCode == vk::Right) {
            // The caret has just left a line (or moved right inside one): the range
            // starts on the character before it, on the line above the caret's.
            line -= 1;
            a = caret - 1;
        }
        if (a < 0) a = 0;

        // Widen [a, b] to the line: a stops on the line break before it, b on the
        // start of the next line. Line numbers follow the line feeds passed over.
        int lineOfA = editor_.lineOfPosition(a);
        while (lineOfA == line) {
            if (a == 0) break;
            lineOfA -= text_[a - 1] == '\n' ? 1 : 0;
            --a;
        }
        int lineOfB = caretLine;
        while (lineOfB == line) {
            if (b + 1 > len) {
                b = len;
                break;
            }
            lineOfB += text_[b] == '\n' ? 1 : 0;
            ++b;
        }

        editor_.setColour(a, b - a, colours_.ordinary);
        scan(std::max(a, 1), b);
    }

private:
    // The character at 1-based index i of the text followed by one blank.
    unsigned char at(int i) const {
        return i >= 1 && i <= static_cast<int>(text_.size()) ? static_cast<unsigned char>(text_[i - 1]) : ' ';
    }

    void scan(int from, int to) {
        int i = from;
        while (i <= to) {
            const unsigned char c = at(i);
            if (c == kCommentMark || (c == '/' && at(i + 1) == '/')) {
                dropWord();
                const auto lineBreak = text_.find("\r\n", static_cast<size_t>(i - 1));
                const int end = lineBreak == std::string::npos ? static_cast<int>(text_.size()) : static_cast<int>(lineBreak);
                editor_.setColour(i - 1, end - (i - 1), colours_.comment);
                if (lineBreak == std::string::npos) return;
                i = end + 1;
            } else if (c == '/' || c == '\'') {
                ++i;
            } else if (c == '"') {
                dropWord();
                const auto closing = text_.find('"', static_cast<size_t>(i));
                if (closing == std::string::npos) return;
                const int close = static_cast<int>(closing);
                editor_.setColour(i - 1, close + 1 - (i - 1), colours_.ordinary);
                i = close + 2;
            } else if (isWordCharacter(c)) {
                word_ += static_cast<char>(c);
                wordPositions_.push_back(i - 1);
                ++i;
            } else {
                endWord();
                ++i;
            }
        }
    }

    void dropWord() {
        word_.clear();
        wordPositions_.clear();
    }

    // A delimiter ends the pending word: a keyword takes its list's form and colour.
    void endWord() {
        if (word_.empty()) return;
        const std::string key = " " + lowerCopy(word_) + " ";
        for (const KeywordList& list : keywordLists()) {
            const auto match = list.lowered.find(key);
            if (match == std::string::npos) continue;
            rewriteWord(list.words.substr(match + 1, word_.size()));
            const int first = wordPositions_.front();
            editor_.setColour(first, wordPositions_.back() + 1 - first, colours_.*list.colour);
        }
        dropWord();
    }

    // Gives the word's own characters the keyword's form where they differ, run by
    // run, so that a skipped apostrophe or "/" inside the word stays where it is.
    void rewriteWord(std::string_view form) {
        size_t k = 0;
        while (k < wordPositions_.size()) {
            size_t runEnd = k + 1;
            while (runEnd < wordPositions_.size() && wordPositions_[runEnd] == wordPositions_[runEnd - 1] + 1) ++runEnd;
            const int start = wordPositions_[k];
            const std::string_view wanted = form.substr(k, runEnd - k);
            if (std::string_view(text_).substr(start, wanted.size()) != wanted) {
                editor_.replaceRange(start, static_cast<int>(wanted.size()), std::string(wanted));
                text_.replace(start, wanted.size(), wanted);
            }
            k = runEnd;
        }
    }

    TextEditor& editor_;
    const TypingColours& colours_;
    std::string text_;
    std::string word_;
    std::vector<int> wordPositions_;
};

}  // namespace

bool isColouringTrigger(int keyCode) {
    return keyCode == vk::Return || keyCode == vk::Space || keyCode == vk::Right || keyCode == vk::OpenParen;
}

void coloriserLigne(TextEditor& editor, const TypingColours& colours, int keyCode) {
    const int caret = editor.selectionStart();
    const int selection = editor.selectionLength();
    try {
        LineScan(editor, colours).run(caret, keyCode);
    } catch (...) {
        // A failing scan only leaves the line partly coloured; the caret still comes back.
    }
    editor.setSelection(caret, selection);
}

ReleaseEffect handleKeyRelease(TextEditor& editor, int keyCode) {
    ReleaseEffect effect = ReleaseEffect::None;
    const int caret = editor.caret();
    const int last = std::max(editor.length() - kLastCaretFromEnd, 0);
    if (caret < kFirstCaret) {
        editor.setCaret(kFirstCaret);
        effect = ReleaseEffect::FocusNameField;
    } else if (caret > last) {
        editor.setCaret(last);
    }
    if (isColouringTrigger(keyCode)) {
        const TypingColours colours;
        coloriserLigne(editor, colours, keyCode);
        editor.setNewTextColour(colours.ordinary);
    }
    return effect;
}

PressEffect handleKeyPress(const TextEditor& editor, int keyCode) {
    if (editor.selectionLength() != 0) return PressEffect::Proceed;
    const int caret = editor.caret();
    if (keyCode == vk::Backspace && caret == kFirstCaret) return PressEffect::ReplaceWithHome;
    if (keyCode == vk::Delete && caret == editor.length() - kLastCaretFromEnd) return PressEffect::ReplaceWithHome;
    return PressEffect::Proceed;
}

PressEffect guardEditingKey(TextEditor& editor, bool deletes) {
    const int start = editor.selectionStart();
    const int end = start + editor.selectionLength();
    const int last = std::max(editor.length() - kLastCaretFromEnd, kFirstCaret);
    if (end <= kFirstCaret && start < kFirstCaret) {
        editor.setCaret(kFirstCaret);
        return PressEffect::FocusNameField;
    }
    if (start < kFirstCaret) {
        editor.setSelection(kFirstCaret, end - kFirstCaret);
    } else if (start > last) {
        editor.setCaret(last);
        if (deletes) return PressEffect::Ignore;
    }
    return PressEffect::Proceed;
}

bool openFirstBodyLine(TextEditor& editor) {
    // The opening line's keyword ends two characters before the body, at its CR LF.
    if (editor.selectionLength() != 0 || editor.caret() != kFirstCaret - 2) return false;
    editor.replaceRange(kFirstCaret, 0, "\r\n");
    editor.setCaret(kFirstCaret);
    return true;
}

void deleteWithinBody(TextEditor& editor, int start, int end) {
    const int last = std::max(editor.length() - kLastCaretFromEnd, kFirstCaret);
    const std::string text = editor.text();
    const int from = snapOutOfLineBreak(text, std::clamp(std::min(start, end), kFirstCaret, last));
    const int to = snapOutOfLineBreak(text, std::clamp(std::max(start, end), kFirstCaret, last));
    if (to > from) editor.replaceRange(from, to - from, "");
    editor.setCaret(from);
}

void handleDoubleClick(TextEditor& editor) {
    const int caret = editor.caret();
    const int last = std::max(editor.length() - kLastCaretFromEnd, 0);
    if (caret < kFirstCaret) {
        editor.setCaret(kFirstCaret);
    } else if (caret > last) {
        editor.setCaret(last);
    }
    editor.setFocus();
}

void SelectionGuard::handleSelectionChange(TextEditor& editor) {
    if (busy_) return;
    busy_ = true;
    const int start = editor.selectionStart();
    const int length = editor.selectionLength();
    const int len = editor.length();
    if (length > 0 && start + length >= len - 7) {
        const int end = snapOutOfLineBreak(editor.text(), start + std::abs(len - 8 - start));
        editor.setSelection(start, std::max(end - start, 0));
    }
    busy_ = false;
}

int snapOutOfLineBreak(const std::string& text, int position) {
    if (position > 0 && position < static_cast<int>(text.size()) && text[position - 1] == '\r' && text[position] == '\n')
        return position - 1;
    return position;
}

}  // namespace korvane
