#include "insert/ToolStrip.h"

namespace korvane {
namespace {

using K = QuickButtonKind;

constexpr QuickButton kButtons[] = {
    {K::Greek, "CmdGreek", "Greek", 140, 120, 495, 14.25,
     "Bouton paramétrable : clique droit sur un caractère Greek pour modifier ce bouton"},
    {K::Math, "CmdMath", "Math", 650, 600, 495, 14.25,
     "Bouton paramétrable : clique droit sur un caractère Math pour modifier ce bouton"},
    {K::Ponctuation, "CmdPonctuation", "Ponctuation", 1110, 1080, 855, 14.25,
     "Bouton paramétrable : clique droit sur un caractère Ponctuation pour modifier ce bouton"},
    {K::Special, "CmdSpecial", "Special", 2040, 1920, 735, 14.25,
     "Bouton paramétrable : clique droit sur un caractère Special pour modifier ce bouton"},
    {K::Catalogue, "CmdCatalog", "Catalogue", 2840, 2640, 1095, 9.75,
     "Bouton paramétrable : clique droit sur un mot clé du Catalogue pour modifier ce bouton"},
};

}  // namespace

std::span<const QuickButton> quickButtons() { return kButtons; }

std::string quickInsertion(QuickButtonKind kind, const std::string& caption) {
    if (kind == K::Ponctuation) return caption.substr(0, 1);
    return caption;
}

std::string quickLabel(QuickButtonKind kind, const std::string& caption) {
    if (kind == K::Ponctuation && caption == "&&") return caption;
    std::string label;
    label.reserve(caption.size());
    for (const char c : caption) {
        label += c;
        if (c == '&') label += '&';
    }
    return label;
}

}  // namespace korvane
