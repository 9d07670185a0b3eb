// A file's identity on disk: what Save and the window's return to the front compare
// to learn that another program changed the file since Korvane read or wrote it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>

#include "files/FileStamp.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

// Sets the file's modification time, to the nanosecond.
void setModified(const std::string& path, std::int64_t seconds, long nanoseconds) {
    const struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileStamp, EveryKindOfRewriteIsAChange) {
    ScratchDir dir;
    const std::string path = dir.file("prog.89p");
    ScratchDir::write(path, "first");
    setModified(path, 1700000000, 100);
    const auto known = fileStampOf(path);
    ASSERT_TRUE(known.has_value());
    EXPECT_EQ(known->size, 5u);
    EXPECT_EQ(known->modifiedNanoseconds, 100);
    EXPECT_FALSE(changedOnDisk(known, path));

    // The same size within the same second: only the nanoseconds tell.
    ScratchDir::write(path, "other");
    setModified(path, 1700000000, 200);
    EXPECT_TRUE(changedOnDisk(known, path));

    // Written beside it and renamed over it, the size and the time kept: the inode tells.
    setModified(path, 1700000000, 100);
    ScratchDir::write(dir.file("beside"), "first");
    setModified(dir.file("beside"), 1700000000, 100);
    fs::rename(dir.file("beside"), path);
    EXPECT_TRUE(changedOnDisk(known, path));
    EXPECT_FALSE(changedOnDisk(fileStampOf(path), path));

    // Another size, the time put back.
    const auto renamed = fileStampOf(path);
    ScratchDir::write(path, "longer text");
    setModified(path, 1700000000, 100);
    EXPECT_TRUE(changedOnDisk(renamed, path));
}

TEST(FileStamp, NothingKnownOrNothingThereIsNoChange) {
    ScratchDir dir;
    const std::string path = dir.file("gone.89p");
    EXPECT_FALSE(fileStampOf(path).has_value());
    EXPECT_FALSE(changedOnDisk(std::nullopt, path));
    ScratchDir::write(path, "x");
    const auto known = fileStampOf(path);
    EXPECT_FALSE(changedOnDisk(std::nullopt, path));
    fs::remove(path);
    EXPECT_FALSE(changedOnDisk(known, path));
}

}  // namespace
}  // namespace korvane
