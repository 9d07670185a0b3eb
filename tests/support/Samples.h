#pragma once
// The reference samples written by calculators and link software. They stay in the
// shared folder beside the checkout; tests skip with a message where it is absent.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/VariableFile.h"

namespace korvane::samples {

inline std::filesystem::path folder() { return KORVANE_SAMPLES_DIR; }

inline bool available() { return std::filesystem::is_directory(folder()); }

inline const char* missingMessage() { return "reference samples not found beside the checkout (../shared/ti68k-samples)"; }

// Single-variable samples, sorted by name; group files are left out.
inline std::vector<std::filesystem::path> singleVariableFiles() {
    std::vector<std::filesystem::path> files;
    if (!available()) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder())) {
        const auto ext = entry.path().extension().string();
        if (ext == ".89p" || ext == ".89f" || ext == ".92p" || ext == ".92f") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline Bytes bytesOf(const std::filesystem::path& path) {
    Bytes bytes;
    readWholeFile(path.string(), bytes);
    return bytes;
}

inline bool isTextForm(const Bytes& bytes) { return bytes.size() > kHeaderSize && bytes[kHeaderSize] == '('; }

}  // namespace korvane::samples
