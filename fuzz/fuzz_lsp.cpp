// Feeds arbitrary bytes to the language server as a client's standard input: the
// framing reader in pieces, and each body it gives to an initialized server with a
// program open. Nothing crashes, and the reader never holds more than a header and
// one body's worth of bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "lsp/LspFraming.h"
#include "lsp/LspServer.h"

namespace {

constexpr std::string_view kOpen =
    "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didOpen\",\"params\":{\"textDocument\":{\"uri\":\"file:///p\","
    "\"text\":\"p(a)\\nPrgm\\nLocal k\\nLbl x\\nFor k,1,a\\nDisp mid(\\\"θ→\\\",k)\\nEndFor\\nGoto x\\nEndPrgm\"}}}";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    korvane::LspServer server(korvane::MessageLanguage::English);
    server.handle("{\"jsonrpc\":\"2.0\",\"id\":0,\"method\":\"initialize\",\"params\":{}}");
    server.handle(kOpen);
    // The whole input as one body, then as a stream cut where its first byte says.
    server.handle(bytes);
    korvane::FrameReader reader;
    const std::size_t piece = size > 0 ? 1 + static_cast<unsigned char>(bytes[0]) % 64 : 1;
    while (!bytes.empty()) {
        const std::size_t n = bytes.size() < piece ? bytes.size() : piece;
        reader.push(bytes.substr(0, n));
        bytes.remove_prefix(n);
        for (auto r = reader.next(); r.status != korvane::FrameReader::Status::NeedMore; r = reader.next()) {
            if (r.status == korvane::FrameReader::Status::Message) server.handle(r.body);
            if (server.exitRequested()) return 0;
        }
        if (reader.pending() > korvane::FrameReader::kMaxHeader + korvane::FrameReader::kMaxBody + 64) std::abort();
    }
    return 0;
}
