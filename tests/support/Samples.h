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

// The programs and functions inside the group files: each entry of the table after
// the header is 16 bytes (offset of the variable's block, name, type), and a block is
// four zero bytes, the 2-byte big-endian size and the variable data.
struct GroupMember {
    std::string name;
    Bytes data;
};
inline std::vector<GroupMember> groupPrograms() {
    std::vector<GroupMember> members;
    if (!available()) return members;
    for (const auto& entry : std::filesystem::directory_iterator(folder())) {
        const auto ext = entry.path().extension().string();
        if (ext != ".89g" && ext != ".92g") continue;
        const Bytes file = bytesOf(entry.path());
        auto at = [&](size_t i) { return i < file.size() ? static_cast<unsigned char>(file[i]) : 0u; };
        const size_t count = at(0x3A) | (at(0x3B) << 8);
        for (size_t k = 0; k < count; ++k) {
            const size_t e = 0x3C + 16 * k;
            const unsigned type = at(e + 12);
            if (type != 0x12 && type != 0x13) continue;
            const size_t offset = at(e) | (at(e + 1) << 8) | (at(e + 2) << 16) | (static_cast<size_t>(at(e + 3)) << 24);
            const size_t size = (at(offset + 4) << 8) | at(offset + 5);
            if (offset + 6 + size > file.size()) continue;
            members.push_back({entry.path().filename().string() + ":" + file.substr(e + 4, 8).c_str(),
                               file.substr(offset + 6, size)});
        }
    }
    return members;
}

inline bool isTextForm(const Bytes& bytes) { return bytes.size() > kHeaderSize && bytes[kHeaderSize] == '('; }

}  // namespace korvane::samples
