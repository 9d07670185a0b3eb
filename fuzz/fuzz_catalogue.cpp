// Feeds arbitrary bytes to the catalogue file's field reader: it may not crash or
// hang, and every row is a non-empty piece of the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "insert/Catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t total = 0;
    for (const std::string& row : korvane::parseCatalogue(text)) {
        if (row.empty() || text.find(row) == std::string_view::npos) std::abort();
        total += row.size();
    }
    if (total > size) std::abort();
    return 0;
}
