// Feeds arbitrary bytes to the full recolouring, as the editor text: the colouring
// document is built, the recolouring of an in-memory editor keeps the text's length
// class (keywords change case only) and its caret inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/CharTable.h"
#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = korvane::normaliseLineBreaks(std::string(reinterpret_cast<const char*>(data), size));
    const std::string document = korvane::coloriserDocument(text, korvane::ColourTable{}, "10");
    if (document.empty()) std::abort();
    korvane::MemoryEditor editor(text);
    int posCurseur = static_cast<int>(text.size() / 2);
    editor.setCaret(posCurseur);
    korvane::colorierTout(editor, posCurseur, "10");
    if (editor.text().size() != text.size()) std::abort();
    if (editor.caret() < 0 || editor.caret() > editor.length()) std::abort();
    return 0;
}
