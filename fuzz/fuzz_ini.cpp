// Feeds arbitrary bytes to the settings store as a hand-edited Korvane.INI: reading
// any key never crashes, a value is at most 254 bytes, and writing a key reads back
// and keeps every other key's value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/IniStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    static const char* const keys[] = {"Langue", "Chemin", "CmdMath", "OpenChxPrgmFunc ", "XFrmP", "x"};
    for (const char* key : keys) {
        const auto v = korvane::findIniValue(content, key);
        if (v && v->size() > korvane::kIniValueMax) std::abort();
    }
    const std::string written = korvane::withIniValue(content, "CmdSpecial", "a\x16" "a");
    const auto back = korvane::findIniValue(written, "CmdSpecial");
    if (!back || *back != "a\x16" "a") std::abort();
    for (const char* key : keys)
        if (korvane::findIniValue(written, key) != korvane::findIniValue(content, key)) std::abort();
    return 0;
}
