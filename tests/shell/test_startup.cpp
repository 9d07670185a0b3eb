#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

#include "support/ScratchDir.h"
#include "shell/Startup.h"

namespace korvane {
namespace {

using test::ScratchDir;

// The keys of the file's "option" section, in file order.
std::vector<std::string> keysInFile(const std::string& path) {
    std::vector<std::string> keys;
    std::istringstream in(ScratchDir::read(path));
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
    }
    return keys;
}

TEST(Startup, NoSettingsFileGivesTheFirstRunDefaults) {
    ScratchDir dir;
    Settings settings(dir.file("Korvane.INI"));
    const StartupSettings s = readStartupSettings(settings);
    EXPECT_TRUE(s.firstLoad);
    EXPECT_EQ(s.langue, "1");
    EXPECT_EQ(s.taillePolice, 1);
    EXPECT_TRUE(s.catalogOpen && s.charSpecialOpen && s.prgmFunc && s.openChxPrgmFunc);
    EXPECT_TRUE(s.lockCat && s.lockChar);
    EXPECT_EQ(s.chemin, "1");
    EXPECT_EQ(s.hauteurCat, 1.0f);
    EXPECT_EQ(s.yChar, 1.0f);
    EXPECT_EQ(s.cmdGreek, "\x88");
    EXPECT_EQ(s.cmdMath, "\x96");
    EXPECT_EQ(s.cmdPonctuation, "~");
    EXPECT_EQ(s.cmdSpecial, "\x16");
    EXPECT_EQ(s.cmdCatalogue, "Disp");
    EXPECT_FALSE(s.mainWindow.has_value());
    EXPECT_FALSE(std::filesystem::exists(settings.cheminIni()));  // reading creates nothing

    EXPECT_EQ(applyStartupSettings(s, ShutdownSettings{}).chemin, "");
}

TEST(Startup, FirstRunMessageIsShownOnce) {
    ScratchDir dir;
    Settings settings(dir.file("Korvane.INI"));
    ASSERT_TRUE(firstRunPending(settings));
    markFirstRunDone(settings);
    EXPECT_EQ(settings.lireIni("FirstLoad"), "faux");
    EXPECT_FALSE(firstRunPending(settings));
    EXPECT_FALSE(readStartupSettings(settings).firstLoad);

    for (const char* yes : {"True", "TRUE", "vrai", "Vrai", "-1", "2.5", "1"}) {
        settings.ecrireIni("FirstLoad", yes);
        EXPECT_TRUE(firstRunPending(settings)) << yes;
    }
    // "Faux" in any case, "False" and zero are false; a text that is no Boolean too.
    for (const char* no : {"Faux", "FAUX", "False", "0", "0.0", "", "oui", "Vraiment"}) {
        settings.ecrireIni("FirstLoad", no);
        EXPECT_FALSE(firstRunPending(settings)) << no;
    }
}

TEST(Startup, TextsThatDoNotConvertLeaveThePropertyAsItWas) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    ScratchDir::write(path,
                      "[option]\nYCat=\nXCat=12,5\nHauteurCat=abc\nXChar=1e3\nYChar=-40\n"
                      "TaillePolice=9\nCatalogOpen=faux\nCharSpecialOpen=Faux\nLockCat=Faux\n");
    Settings settings(path);
    const StartupSettings s = readStartupSettings(settings);
    EXPECT_FALSE(s.yCat.has_value());
    EXPECT_EQ(s.xCat, 12.5f);
    EXPECT_FALSE(s.hauteurCat.has_value());
    EXPECT_EQ(s.xChar, 1000.0f);
    EXPECT_EQ(s.yChar, -40.0f);
    EXPECT_FALSE(s.taillePolice.has_value());
    EXPECT_TRUE(s.catalogOpen);  // only "Faux" exactly is false
    EXPECT_FALSE(s.charSpecialOpen);
    EXPECT_FALSE(s.lockCat);
    EXPECT_TRUE(s.lockChar);

    ShutdownSettings before;
    before.yCat = 300;
    before.hauteurCat = 4000;
    before.taillePolice = 3;
    const ShutdownSettings after = applyStartupSettings(s, before);
    EXPECT_EQ(after.yCat, 300.0f);
    EXPECT_EQ(after.hauteurCat, 4000.0f);
    EXPECT_EQ(after.taillePolice, 3);
    EXPECT_EQ(after.xCat, 12.5f);

    for (const auto& [text, index] : std::vector<std::pair<const char*, std::optional<int>>>{
             {"0", 0}, {"7", 7}, {"4.5", 4}, {"5.5", 6}, {"-1", std::nullopt}, {"8", std::nullopt},
             {"x", std::nullopt}, {"", std::nullopt}}) {
        settings.ecrireIni("TaillePolice", text);
        EXPECT_EQ(readStartupSettings(settings).taillePolice, index) << text;
    }
}

TEST(Startup, MainWindowGeometryNeedsItsLeft) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    ScratchDir::write(path, "[option]\nYFrmP=500\nLargeurFrmP=9000\nHauteurFrmP=7000\n");
    Settings settings(path);
    EXPECT_FALSE(readStartupSettings(settings).mainWindow.has_value());

    settings.ecrireIni("XFrmP", "1200");
    settings.ecrireIni("YFrmP", "haut");
    const auto g = readStartupSettings(settings).mainWindow;
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->left, 1200.0f);
    EXPECT_FALSE(g->top.has_value());
    EXPECT_EQ(g->width, 9000.0f);
    EXPECT_EQ(g->height, 7000.0f);

    ShutdownSettings before;
    before.yFrmP = 77;
    const ShutdownSettings after = applyStartupSettings(readStartupSettings(settings), before);
    EXPECT_EQ(after.xFrmP, 1200.0f);
    EXPECT_EQ(after.yFrmP, 77.0f);
}

TEST(Startup, QuickInsertCaptions) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    Settings settings(path);
    settings.ecrireIni("CmdMath", "a\x96" "a");
    settings.ecrireIni("CmdSpecial", "x");
    settings.ecrireIni("CmdGreek", "1");
    settings.ecrireIni("CmdPonctuation", "1");
    settings.ecrireIni("CmdCatalogue", "1");
    StartupSettings s = readStartupSettings(settings);
    EXPECT_EQ(s.cmdMath, "\x96");
    EXPECT_EQ(s.cmdSpecial, "\x16");  // one character holds no caption
    EXPECT_EQ(s.cmdGreek, "\x88");
    EXPECT_EQ(s.cmdPonctuation, "~");
    EXPECT_EQ(s.cmdCatalogue, "Disp");

    // Blanks and control codes survive between the letters "a"; the others are raw bytes.
    ShutdownSettings state;
    state.cmdMath = " ";
    state.cmdSpecial = "\x1b";
    state.cmdGreek = "\x8a";
    state.cmdPonctuation = "&&";
    state.cmdCatalogue = "For";
    writeShutdownSettings(settings, state);
    s = readStartupSettings(settings);
    EXPECT_EQ(s.cmdMath, " ");
    EXPECT_EQ(s.cmdSpecial, "\x1b");
    EXPECT_EQ(s.cmdGreek, "\x8a");
    EXPECT_EQ(s.cmdPonctuation, "&&");
    EXPECT_EQ(s.cmdCatalogue, "For");
}

TEST(Startup, ShutdownThenStartupRestoresEverySetting) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    Settings settings(path);

    // From no file: what start-up restores is written back and read again unchanged.
    ShutdownSettings builtIn;
    builtIn.xFrmP = 1500;
    builtIn.yFrmP = 900;
    builtIn.largeurFrmP = 10035;
    builtIn.hauteurFrmP = 8370;
    const ShutdownSettings firstRun = applyStartupSettings(readStartupSettings(settings), builtIn);
    writeShutdownSettings(settings, firstRun);
    EXPECT_EQ(applyStartupSettings(readStartupSettings(settings), ShutdownSettings{}), firstRun);
    EXPECT_EQ(settings.lireIni("Langue"), "1");

    const std::vector<std::string> expectedOrder = {
        "TaillePolice", "CatalogOpen", "CharSpecialOpen", "PrgmFunc", "OpenChxPrgmFunc", "Chemin",
        "LockCat", "LockChar", "HauteurCat", "XCat", "Ycat", "XChar", "YChar", "CmdGreek", "CmdMath",
        "CmdPonctuation", "CmdSpecial", "CmdCatalogue", "XFrmP", "YFrmP", "LargeurFrmP", "HauteurFrmP",
        "Langue"};
    EXPECT_EQ(keysInFile(path), expectedOrder);

    // A run that changed everything.
    ShutdownSettings changed;
    changed.taillePolice = 4;
    changed.catalogOpen = false;
    changed.charSpecialOpen = true;
    changed.prgmFunc = false;
    changed.openChxPrgmFunc = false;
    changed.chemin = "/home/élodie/calc/prog1.89p";
    changed.lockCat = false;
    changed.lockChar = true;
    changed.hauteurCat = 4815;
    changed.xCat = 11250.5f;
    changed.yCat = 0.1f;
    changed.xChar = -120;
    changed.yChar = 1e7f;
    changed.cmdGreek = "\x8c";
    changed.cmdMath = "\x9e";
    changed.cmdPonctuation = "#";
    changed.cmdSpecial = "\x1b";
    changed.cmdCatalogue = "EndFor";
    changed.xFrmP = 1095;
    changed.yFrmP = 15;
    changed.largeurFrmP = 9600;
    changed.hauteurFrmP = 7200.25f;
    changed.langue = "En";
    writeShutdownSettings(settings, changed);
    EXPECT_EQ(settings.lireIni("XFrmP"), "1095");
    EXPECT_EQ(applyStartupSettings(readStartupSettings(settings), ShutdownSettings{}), changed);
    EXPECT_EQ(keysInFile(path), expectedOrder);  // rewritten in place, nothing added

    // With the first-run marker, the file holds every key that start-up and shutdown use.
    markFirstRunDone(settings);
    const auto keys = keysInFile(path);
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), expectedOrder.size() + 1);
    EXPECT_EQ(keys.back(), "FirstLoad");
}

TEST(Startup, NumberTexts) {
    EXPECT_EQ(textToSingle(" +12.5 "), 12.5f);
    EXPECT_EQ(textToSingle("-3,25"), -3.25f);
    EXPECT_EQ(textToSingle(".5"), 0.5f);
    EXPECT_EQ(textToSingle("7."), 7.0f);
    EXPECT_EQ(textToSingle("2E+2"), 200.0f);
    for (const char* bad : {"", "-", ".", "1e", "1.2.3", "12px", "nan", "inf", "0x10", "1e39"})
        EXPECT_FALSE(textToSingle(bad).has_value()) << bad;
    for (float v : {0.0f, 1.0f, 1095.0f, -0.5f, 0.1f, 3.14159274f, 1e-7f, 3.4e38f})
        EXPECT_EQ(textToSingle(singleToText(v)), v) << singleToText(v);
    EXPECT_EQ(singleToText(7200.0f), "7200");
}

}  // namespace
}  // namespace korvane
