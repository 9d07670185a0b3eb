// Feeds arbitrary bytes to the reader of TI link software texts and of outside
// text: it reads the file or says why not; what it reads, written again, reads back
// the same. A literal
// backslash (a folder path) next to an escaped character cannot be told from an
// escape in this format, so such programs are only read, not compared.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/LinkText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Outside text, UTF-8 or 8-bit, comes out with every line break a CR LF pair.
    const korvane::OutsideText outside = korvane::readOutsideText(bytes);
    if (!outside.ok() && outside.error.empty()) std::abort();
    for (std::size_t i = 0; i < outside.text.size(); ++i) {
        const bool pairedCr = outside.text[i] == '\r' && i + 1 < outside.text.size() && outside.text[i + 1] == '\n';
        const bool pairedLf = outside.text[i] == '\n' && i > 0 && outside.text[i - 1] == '\r';
        if ((outside.text[i] == '\r' && !pairedCr) || (outside.text[i] == '\n' && !pairedLf)) std::abort();
    }
    const korvane::LinkTextResult r = korvane::readLinkText(bytes);
    if (!r.ok()) {
        if (r.error.empty()) std::abort();
        return 0;
    }
    if (r.text.program.find('\\') != std::string::npos || r.text.name.find('\\') != std::string::npos) return 0;
    const korvane::LinkTextResult again = korvane::readLinkText(korvane::writeLinkText(r.text));
    if (!again.ok() || again.text.program != r.text.program || again.text.name != r.text.name) std::abort();
    return 0;
}
