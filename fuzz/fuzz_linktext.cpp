// Feeds arbitrary bytes to the reader of TI link software texts: it reads the file
// or says why not; what it reads, written again, reads back the same. A literal
// backslash (a folder path) next to an escaped character cannot be told from an
// escape in this format, so such programs are only read, not compared.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/LinkText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const korvane::LinkTextResult r = korvane::readLinkText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!r.ok()) {
        if (r.error.empty()) std::abort();
        return 0;
    }
    if (r.text.program.find('\\') != std::string::npos || r.text.name.find('\\') != std::string::npos) return 0;
    const korvane::LinkTextResult again = korvane::readLinkText(korvane::writeLinkText(r.text));
    if (!again.ok() || again.text.program != r.text.program || again.text.name != r.text.name) std::abort();
    return 0;
}
