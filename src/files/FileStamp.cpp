#include "files/FileStamp.h"

#include <sys/stat.h>

namespace korvane {

std::optional<FileStamp> fileStampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(info.st_size), static_cast<std::int64_t>(info.st_mtim.tv_sec),
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec), static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino)};
}

bool changedOnDisk(const std::optional<FileStamp>& known, const std::string& path) {
    if (!known) return false;
    const std::optional<FileStamp> now = fileStampOf(path);
    return now && *now != *known;
}

}  // namespace korvane
