// korvane-tool lsp: the language server on standard input and output.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/ToolSupport.h"
#include "lsp/LspFraming.h"
#include "lsp/LspServer.h"

namespace korvane::tool {
namespace {

bool writeAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The interface's language from LANG (or LC_ALL, LC_MESSAGES), English otherwise.
MessageLanguage languageOfEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        return std::string(value).rfind("fr", 0) == 0 ? MessageLanguage::French : MessageLanguage::English;
    }
    return MessageLanguage::English;
}

}  // namespace

int cmdLsp(const Arguments& args) {
    if (!args.positional.empty()) return usage("lsp takes no file: it reads standard input");
    LspServer server(languageOfEnvironment());
    FrameReader reader;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        // The client went away without exit: as LSP says, the status of no shutdown.
        if (n <= 0) return 1;
        reader.push(std::string_view(buffer, static_cast<std::size_t>(n)));
        for (;;) {
            FrameReader::Result frame = reader.next();
            if (frame.status == FrameReader::Status::NeedMore) break;
            if (frame.status == FrameReader::Status::BadHeader) {
                std::cerr << "korvane-tool lsp: message skipped: " << frame.error << "\n";
                continue;
            }
            for (const std::string& body : server.handle(frame.body))
                if (!writeAll(writeFrame(body))) return 1;
            if (server.exitRequested()) return server.exitStatus();
        }
    }
}

}  // namespace korvane::tool
