#pragma once
// What tells a file apart from the same path written again by someone else: its
// size, its modification time to the nanosecond, and its inode on its device.
#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};

// The file's stamp now; nothing when it cannot be looked at (gone, no permission).
std::optional<FileStamp> fileStampOf(const std::string& path);

// Whether the file at `path` is no longer the one `known` describes. Nothing known,
// or a file that is gone, is no change: there is nothing to lose by writing it.
bool changedOnDisk(const std::optional<FileStamp>& known, const std::string& path);

}  // namespace korvane
