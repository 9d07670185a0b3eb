// Feeds arbitrary bytes to the reader of the recovery copy, as a copy damaged on
// disk or left by some other program: it never crashes, and whatever it takes is
// one the writer writes byte for byte the same, so nothing read is changed or lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/RecoveryCopy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto copy = korvane::decodeRecoveryCopy(bytes);
    if (!copy) return 0;
    if (korvane::encodeRecoveryCopy(*copy) != bytes) std::abort();
    if (copy->variableHeader.size() != std::size_t(korvane::kHeaderSize) ||
        copy->variableTrailer.size() != std::size_t(korvane::kTrailerSize))
        std::abort();
    return 0;
}
