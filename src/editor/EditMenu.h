#pragma once
// The texts of the Edit menu `edition` and its entries in one interface language,
// taken from the language table. Captions are UTF-8 interface texts.
#include <string>

#include "shell/Languages.h"

namespace korvane {

struct EditMenuCaptions {
    std::string edition;
    std::string copier;
    std::string couper;
    std::string coller;
    std::string selectall;
    std::string rechercher;
    std::string indenter;
};

// English when `langue` is exactly "En", French for anything else, as the main
// window applies its texts.
inline EditMenuCaptions editMenuCaptions(const std::string& langue) {
    auto text = [&](const char* control) { return languageText("FrmP", control, 0, langue); };
    return {text("edition"), text("copier"), text("couper"), text("coller"), text("selectall"), text("rechercher"),
            text("indenter")};
}

}  // namespace korvane
