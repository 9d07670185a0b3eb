#pragma once
// The calculator's variable types: their words for people and their file name
// extensions, as libtifiles names them. Toolkit-free: no library headers here.
#include <cstdint>
#include <string>

#include "link/LinkOptions.h"
#include "link/LinkStatus.h"

namespace korvane::link {

// The variable's type in words, UTF-8: "programme", "fonction", "liste", "matrice",
// "expression", "chaîne", "texte", "image", "données", "figure", "macro",
// "assembleur", "autre" in French; "program", "function", "list"... in English.
std::string typeWord(std::uint8_t type, Language language);

// The single-variable file extension of a type on a model: ".89p", ".89l", ".89m"...
// on the TI-89 models, ".9xp"... on the TI-92 Plus, ".v2p"... on the Voyage 200; a
// type without a file of its own gives ".89?", ".9x?", ".v2?".
std::string singleFileExtension(std::uint8_t type, Calc calc);

// The group file extension: ".89g", ".9xg", ".v2g".
std::string groupFileExtension(Calc calc);

// Attribute bits of a listing entry: bit 0 locked, bit 1 archived.
inline constexpr std::uint8_t kAttributeLocked = 0x01;
inline constexpr std::uint8_t kAttributeArchived = 0x02;

}  // namespace korvane::link
