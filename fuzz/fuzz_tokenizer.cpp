// Feeds arbitrary bytes to the tokenizer as the body of a program and of a function.
// It may refuse the text with a message, never crash or hang; what it takes must
// detokenize, and the detokenized text must tokenize back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/Tokens.h"

namespace {

void roundTrip(const std::string& text) {
    const korvane::TokenizeResult t = korvane::tokenize(text);
    if (!t.ok()) {
        if (t.error.empty()) std::abort();
        return;
    }
    const korvane::DetokenizeResult d = korvane::detokenize(t.data);
    if (!d.ok()) std::abort();
    const korvane::TokenizeResult again = korvane::tokenize(d.text);
    if (!again.ok() || again.data != t.data) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    roundTrip("()\rPrgm\r" + body + "\rEndPrgm");
    roundTrip("(x,y)\rFunc\r" + body + "\rEndFunc");
    return 0;
}
