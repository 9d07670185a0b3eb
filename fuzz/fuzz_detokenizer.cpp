// Feeds arbitrary bytes to the detokenizer as variable data and to the tokenizer as
// program text. Neither may crash or hang, and whatever the tokenizer writes must
// read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/Detokenizer.h"
#include "files/Tokens.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const korvane::Bytes bytes(reinterpret_cast<const char*>(data), size);

    const korvane::DetokenizeResult d = korvane::detokenize(bytes);
    if (d.ok()) {
        const korvane::TokenizeResult t = korvane::tokenize(d.text);
        if (t.ok() && !korvane::detokenize(t.data).ok()) std::abort();
    }

    const korvane::TokenizeResult fromText = korvane::tokenize(bytes);
    if (fromText.ok() && !korvane::detokenize(fromText.data).ok()) std::abort();
    (void)korvane::splitVariableFile(bytes);
    (void)korvane::detokenizeVariableFile(bytes);
    return 0;
}
