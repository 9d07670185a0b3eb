#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

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

TEST(WindowHelpers, ASecondWindowStepsAsideFromPlacesHeld) {
    const TwipsRect area{0, 450, 24000, 13050};
    const TwipsRect wanted{6000, 3000, 9000, 7500};
    std::set<std::pair<int, int>> taken;
    const auto held = [&](WindowPlace p) { return taken.count({p.left, p.top}) > 0; };
    EXPECT_EQ(freePlace(wanted, area, 300, held), (WindowPlace{6000, 3000}));
    taken = {{6000, 3000}};
    EXPECT_EQ(freePlace(wanted, area, 300, held), (WindowPlace{6300, 3300}));
    taken = {{6000, 3000}, {6300, 3300}};
    EXPECT_EQ(freePlace(wanted, area, 300, held), (WindowPlace{6600, 3600}));

    // A step past the bottom edge starts again from the area's corner.
    const TwipsRect low{6000, 5800, 9000, 7500};
    taken = {{6000, 5800}};
    EXPECT_EQ(freePlace(low, area, 300, held), (WindowPlace{0, 450}));
    taken = {{6000, 5800}, {0, 450}};
    EXPECT_EQ(freePlace(low, area, 300, held), (WindowPlace{300, 750}));
    // Every place held: the wanted one, rather than no window.
    EXPECT_EQ(freePlace(low, area, 300, [](WindowPlace) { return true; }), (WindowPlace{6000, 5800}));
}

TEST(WindowHelpers, APlaceIsHeldWhileItsClaimLivesEvenAcrossProcesses) {
    ScratchDir dir;
    const std::string folder = dir.file("runtime/korvane");  // made on first use
    PlaceClaim first(folder, "/home/a/Korvane.INI");
    PlaceClaim second(folder, "/home/a/Korvane.INI");
    PlaceClaim other(folder, "/home/b/Korvane.INI");
    EXPECT_FALSE(second.held({6000, 3000}));
    ASSERT_TRUE(first.take({6000, 3000}));
    EXPECT_TRUE(second.held({6000, 3000}));
    EXPECT_FALSE(first.held({6000, 3000}));  // its own place is not another's
    EXPECT_FALSE(second.take({6000, 3000}));
    EXPECT_FALSE(second.held({6300, 3300}));
    // Another settings file's windows are not counted.
    EXPECT_FALSE(other.held({6000, 3000}));

    // Taking another place frees the first; releasing frees it all.
    ASSERT_TRUE(first.take({6300, 3300}));
    EXPECT_FALSE(second.held({6000, 3000}));
    EXPECT_TRUE(second.held({6300, 3300}));
    first.release();
    EXPECT_FALSE(second.held({6300, 3300}));

    // Another process holds the place while it runs; its end frees it, crash or not.
    int ready[2], stop[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(stop), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PlaceClaim mine(folder, "/home/a/Korvane.INI");
        const char ok = mine.take({900, 900}) ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        char c;
        (void)!read(stop[0], &c, 1);
        _exit(0);  // no destructor runs
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    EXPECT_EQ(ok, 'y');
    EXPECT_TRUE(second.held({900, 900}));
    (void)!write(stop[1], "x", 1);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(second.held({900, 900}));
    for (int fd : {ready[0], ready[1], stop[0], stop[1]}) close(fd);
}

TEST(WindowHelpers, PlacesLiveInTheRuntimeFolder) {
    const char* before = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = before ? before : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(placeFolder(), "/run/user/1000/korvane");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(std::filesystem::path(placeFolder()).filename(), "korvane-" + std::to_string(getuid()));
    if (before) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
}  // namespace korvane
