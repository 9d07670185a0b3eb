#pragma once
// The editor held in memory: used by the unit tests and by korvane-tool, and the
// reference for how the Qt adapter must behave.
#include "editor/TextEditor.h"

namespace korvane {

class MemoryEditor : public TextEditor {
public:
    explicit MemoryEditor(std::string text = {});

    std::string text() const override { return text_; }
    int length() const override { return static_cast<int>(text_.size()); }
    int selectionStart() const override { return selStart_; }
    int selectionLength() const override { return selLength_; }
    void setSelection(int start, int length) override;
    void replaceRange(int start, int length, const std::string& text) override;
    void setPlainText(const std::string& text) override;
    void applyColouring(const std::vector<TextRewrite>& rewrites, const std::vector<ColourRun>& runs) override;
    Rgb colourAt(int position) const override;
    void setColour(int start, int length, Rgb colour) override;
    void setNewTextColour(Rgb colour) override;
    int lineOfPosition(int position) const override;
    double fontSize() const override { return fontSize_; }
    void setFontSize(double points) override { fontSize_ = points; }
    void setFocus() override { focused_ = true; }

    bool hasFocus() const { return focused_; }
    // Colour runs of the whole text, merged where neighbours share a colour.
    std::vector<ColourRun> colourRuns() const;

private:
    int clamp(int position) const;

    std::string text_;
    std::vector<Rgb> colours_;
    int selStart_ = 0;
    int selLength_ = 0;
    bool hasNewTextColour_ = false;
    Rgb newTextColour_ = kBlack;
    double fontSize_ = 10;
    bool focused_ = false;
};

}  // namespace korvane
