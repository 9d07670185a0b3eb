#pragma once
// The main window's tool strip: the two tool-window toggles and the five
// configurable buttons, their places (twips), texts and caption rules. Captions are
// calculator codes; tooltips are UTF-8.
#include <span>
#include <string>
#include <string_view>

namespace korvane {

// "Catalogue " and the calculator's right triangle; "Caractères Spéciaux" and its
// down triangle (calculator codes).
inline constexpr std::string_view kChkCatCaption = "Catalogue \x1A";
inline constexpr std::string_view kChkCharCaptionFr = "Caract\xE8res Sp\xE9" "ciaux\x14";
inline constexpr std::string_view kChkCatTip = "Ouvrir et fermer le catalogue";
inline constexpr std::string_view kChkCharTip = "Ouvrir et fermer Les Caractères Spéciaux";

enum class QuickButtonKind { Greek, Math, Ponctuation, Special, Catalogue };

struct QuickButton {
    QuickButtonKind kind;
    std::string_view name;     // the control's name
    std::string_view label;    // the caption of the label above it
    int labelLeft;
    int left;
    int width;
    double points;             // font size of the caption
    std::string_view tip;
};

inline constexpr int kQuickButtonTop = 1320;
inline constexpr int kQuickButtonHeight = 495;
inline constexpr int kQuickLabelTop = 1080;
inline constexpr int kQuickLabelHeight = 255;

// Greek, Math, Ponctuation, Special and Catalogue, left to right.
std::span<const QuickButton> quickButtons();

// What a click on a configurable button inserts: the caption, except for the
// punctuation button, which inserts its first character ("&" for the "&&" that
// stands for the ampersand).
std::string quickInsertion(QuickButtonKind kind, const std::string& caption);

// The caption as a button label, where "&" marks a shortcut letter: every
// ampersand doubled, except the punctuation button's "&&", which already is.
std::string quickLabel(QuickButtonKind kind, const std::string& caption);

}  // namespace korvane
