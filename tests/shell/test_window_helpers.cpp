#include <gtest/gtest.h>

#include <filesystem>

#include "support/ScratchDir.h"
#include "shell/WindowHelpers.h"

namespace korvane {
namespace {

using test::ScratchDir;

TEST(WindowHelpers, CheminLongChecksEveryName) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.path() / "Progs" / "sub");
    ScratchDir::write(dir.file("Progs/sub/JEU.89P"), "x");
    ScratchDir::write(dir.file("Progs/plain"), "x");
    const std::string root = dir.path().string();

    // Quotes go; the names keep their own case, which Linux needs to find the file.
    EXPECT_EQ(cheminLong("\"" + root + "/Progs/sub/JEU.89P\""), root + "/Progs/sub/JEU.89P");
    EXPECT_EQ(cheminLong(root + "//Progs/./sub/../sub/JEU.89P"), root + "//Progs/./sub/../sub/JEU.89P");
    EXPECT_EQ(cheminLong("\"" + root + "/Progs\""), root + "/Progs");

    EXPECT_EQ(cheminLong("\"" + root + "/Progs/sub/jeu.89p\""), "Erreur");     // another name on Linux
    EXPECT_EQ(cheminLong("\"" + root + "/Progs/plain/JEU.89P\""), "Erreur");   // a file used as a folder
    EXPECT_EQ(cheminLong("\"" + root + "/Absent/sub/JEU.89P\""), "Erreur");
    EXPECT_EQ(cheminLong("\"" + root + "/Progs/sub/\""), "Erreur");            // names no file
    EXPECT_EQ(cheminLong("\"\""), "Erreur");

    // A relative path is looked up from the current folder and kept relative.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(cheminLong("\"Progs/sub/JEU.89P\""), "Progs/sub/JEU.89P");
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace korvane
