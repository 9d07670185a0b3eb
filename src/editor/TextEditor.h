#pragma once
// The small editor that every editing rule is written against. The text is
// calculator codes with CR LF line breaks; positions count bytes from 0, a line
// break counting two.
#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;
constexpr Rgb rgb(int r, int g, int b) {
    return (static_cast<Rgb>(r & 0xFF) << 16) | (static_cast<Rgb>(g & 0xFF) << 8) | static_cast<Rgb>(b & 0xFF);
}
constexpr Rgb kBlack = 0x000000;

struct ColourRun {
    int start = 0;
    int length = 0;
    Rgb colour = kBlack;
    bool operator==(const ColourRun&) const = default;
};

// A same-length rewrite of the text at `start` (a keyword given its canonical case).
struct TextRewrite {
    int start = 0;
    std::string text;
    bool operator==(const TextRewrite&) const = default;
};

class TextEditor {
public:
    virtual ~TextEditor() = default;

    virtual std::string text() const = 0;
    virtual int length() const = 0;

    // Caret and selection; the caret is the selection's start.
    virtual int selectionStart() const = 0;
    virtual int selectionLength() const = 0;
    virtual void setSelection(int start, int length) = 0;
    void setCaret(int position) { setSelection(position, 0); }
    int caret() const { return selectionStart(); }

    // Replaces a range of the text with new text, as one edit.
    virtual void replaceRange(int start, int length, const std::string& text) = 0;
    // Replaces the whole text and forgets the edit history (New and Open only).
    virtual void setPlainText(const std::string& text) = 0;

    // Applies a full colouring: same-length rewrites first (together with the edit
    // that caused them), then a colour for every character.
    virtual void applyColouring(const std::vector<TextRewrite>& rewrites, const std::vector<ColourRun>& runs) = 0;

    virtual Rgb colourAt(int position) const = 0;
    virtual void setColour(int start, int length, Rgb colour) = 0;
    // The colour that text typed next takes, until the caret moves.
    virtual void setNewTextColour(Rgb colour) = 0;

    // The 0-based line of a position.
    virtual int lineOfPosition(int position) const = 0;

    virtual double fontSize() const = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFocus() = 0;
};

}  // namespace korvane
