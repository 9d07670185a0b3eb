#include "link/CalcTypes.h"

namespace korvane::link {
namespace {

struct TypeInfo {
    std::uint8_t type;
    const char* french;
    const char* english;
    char letter;  // the extension's last letter
};

// The 68k type ids and libtifiles' extension letters.
constexpr TypeInfo kTypes[] = {
    {0x00, "expression", "expression", 'e'}, {0x04, "liste", "list", 'l'},
    {0x06, "matrice", "matrix", 'm'},        {0x0A, "données", "data", 'c'},
    {0x0B, "texte", "text", 't'},            {0x0C, "chaîne", "string", 's'},
    {0x0D, "autre", "other", 'd'},           {0x0E, "figure", "figure", 'a'},
    {0x10, "image", "picture", 'i'},         {0x12, "programme", "program", 'p'},
    {0x13, "fonction", "function", 'f'},     {0x14, "macro", "macro", 'x'},
    {0x1C, "autre", "other", 'y'},           {0x21, "assembleur", "assembly", 'z'},
};

const TypeInfo* infoOf(std::uint8_t type) {
    for (const TypeInfo& t : kTypes)
        if (t.type == type) return &t;
    return nullptr;
}

std::string modelPrefix(Calc calc) {
    switch (calc) {
    case Calc::TI92Plus: return ".9x";
    case Calc::Voyage200: return ".v2";
    case Calc::TI89:
    case Calc::TI89Titanium: break;
    }
    return ".89";
}

}  // namespace

std::string typeWord(std::uint8_t type, Language language) {
    const TypeInfo* t = infoOf(type);
    if (!t) return language == Language::French ? "autre" : "other";
    return language == Language::French ? t->french : t->english;
}

std::string singleFileExtension(std::uint8_t type, Calc calc) {
    const TypeInfo* t = infoOf(type);
    return modelPrefix(calc) + (t ? t->letter : '?');
}

std::string groupFileExtension(Calc calc) { return modelPrefix(calc) + 'g'; }

}  // namespace korvane::link
