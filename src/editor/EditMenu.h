#pragma once
// The texts of the Edit menu `edition` and its entries in one interface language.
// Captions are UTF-8 interface texts.
#include <string>

namespace korvane {

struct EditMenuCaptions {
    std::string edition;
    std::string copier;
    std::string couper;
    std::string coller;
    std::string selectall;
    std::string rechercher;
};

// English when `langue` is exactly "En", French for anything else, as the main
// window applies its texts.
inline const EditMenuCaptions& editMenuCaptions(const std::string& langue) {
    static const EditMenuCaptions french{"Edition", "Copier", "Couper", "Coller", "Tout s\xC3\xA9lectionner", "Rechercher"};
    static const EditMenuCaptions english{"Edit", "Copy", "Cut", "Paste", "Select all", "Find"};
    return langue == "En" ? english : french;
}

}  // namespace korvane
