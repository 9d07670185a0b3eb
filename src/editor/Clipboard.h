#pragma once
// The Edit menu's Cut, Copy, Paste and Select all on the editor. They keep the
// protected frame out of reach and end with a full recolouring.
#include <optional>
#include <string>

#include "editor/EditorContext.h"

namespace korvane {

// The clipboard as the commands see it: plain text in calculator codes with CR LF
// line breaks. The desktop side converts through the character table.
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    // The clipboard's text, or nothing when it holds no text.
    virtual std::optional<std::string> text() const = 0;
    virtual void clear() = 0;
    virtual void setText(const std::string& text) = 0;
};

// A clipboard held in memory, for tests and for running without a desktop.
class MemoryClipboard : public ClipboardPort {
public:
    std::optional<std::string> text() const override { return text_; }
    void clear() override { text_.reset(); }
    void setText(const std::string& text) override { text_ = text; }

private:
    std::optional<std::string> text_;
};

// Cut: in the body, the selection goes to the clipboard and leaves the text; the
// caret stays where the selection started.
void couper(EditorContext& context, ClipboardPort& clipboard);

// Copy: a non-empty selection goes to the clipboard; the selection is given up.
void copier(EditorContext& context, ClipboardPort& clipboard);

// Paste: in the body, the clipboard's text goes in at the caret (a selection is
// kept and follows it) and the caret ends after it.
void coller(EditorContext& context, ClipboardPort& clipboard);

// Select all: the whole body without the line break before the closing keyword;
// nothing on an empty program.
void selectall(TextEditor& editor);

}  // namespace korvane
