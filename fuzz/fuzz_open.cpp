// Feeds arbitrary bytes to the open routine's reader as a variable file on disk,
// text form or tokenized: it opens the file or says why not, never crashes, and
// leaves no temporary file behind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/FileFlows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        const fs::path f = fs::temp_directory_path() / ("korvane-fuzz-open-" + std::to_string(::getpid()));
        fs::create_directories(f / "temp");
        return f;
    }();
    const std::string path = (folder / "input.89p").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    const korvane::Detokenizer detokenizer;
    const korvane::OpenedFile opened = korvane::openProgramFile(path, detokenizer, (folder / "temp").string());
    if (!opened.ok() && opened.failure == korvane::OpenedFile::Failure::Damaged && opened.reason.empty()) std::abort();
    if (!fs::is_empty(folder / "temp")) std::abort();
    return 0;
}
