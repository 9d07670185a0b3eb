#include "editor/MemoryEditor.h"

#include <algorithm>

namespace korvane {

MemoryEditor::MemoryEditor(std::string text) : text_(std::move(text)), colours_(text_.size(), kBlack) {}

int MemoryEditor::clamp(int position) const { return std::clamp(position, 0, length()); }

void MemoryEditor::setSelection(int start, int length) {
    selStart_ = clamp(start);
    selLength_ = std::clamp(length, 0, this->length() - selStart_);
    hasNewTextColour_ = false;
}

void MemoryEditor::replaceRange(int start, int length, const std::string& text) {
    start = clamp(start);
    length = std::clamp(length, 0, this->length() - start);
    Rgb colour = kBlack;
    if (hasNewTextColour_) {
        colour = newTextColour_;
    } else if (start > 0 && text_[start - 1] != '\n') {
        colour = colours_[start - 1];
    }
    text_.replace(start, length, text);
    colours_.erase(colours_.begin() + start, colours_.begin() + start + length);
    colours_.insert(colours_.begin() + start, text.size(), colour);
    selStart_ = start + static_cast<int>(text.size());
    selLength_ = 0;
}

void MemoryEditor::setPlainText(const std::string& text) {
    text_ = text;
    colours_.assign(text_.size(), kBlack);
    selStart_ = 0;
    selLength_ = 0;
    hasNewTextColour_ = false;
}

void MemoryEditor::applyColouring(const std::vector<TextRewrite>& rewrites, const std::vector<ColourRun>& runs) {
    for (const auto& r : rewrites) {
        if (r.start >= 0 && r.start + static_cast<int>(r.text.size()) <= length())
            text_.replace(r.start, r.text.size(), r.text);
    }
    for (const auto& run : runs) setColour(run.start, run.length, run.colour);
}

Rgb MemoryEditor::colourAt(int position) const {
    if (position < 0 || position >= length()) return kBlack;
    return colours_[position];
}

void MemoryEditor::setColour(int start, int length, Rgb colour) {
    start = clamp(start);
    const int end = clamp(start + std::max(length, 0));
    std::fill(colours_.begin() + start, colours_.begin() + end, colour);
}

void MemoryEditor::setNewTextColour(Rgb colour) {
    hasNewTextColour_ = true;
    newTextColour_ = colour;
}

int MemoryEditor::lineOfPosition(int position) const {
    position = clamp(position);
    return static_cast<int>(std::count(text_.begin(), text_.begin() + position, '\n'));
}

std::vector<ColourRun> MemoryEditor::colourRuns() const {
    std::vector<ColourRun> runs;
    for (int i = 0; i < length(); ++i) {
        if (!runs.empty() && runs.back().colour == colours_[i]) {
            ++runs.back().length;
        } else {
            runs.push_back({i, 1, colours_[i]});
        }
    }
    return runs;
}

}  // namespace korvane
