#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "shell/IniStore.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

using test::ScratchDir;

TEST(IniStore, ReadsKeysWithoutRegardToCaseAndBlanks) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    ScratchDir::write(path, "[option]\n  TaillePolice  =  4  \nChemin=\n\tLangue\t= En\t\nYcat=7\n");
    Settings s(path);
    EXPECT_EQ(s.lireIni("taillepolice"), "4");
    EXPECT_EQ(s.lireIni(" TAILLEPOLICE "), "4");
    EXPECT_EQ(s.lireIni("Chemin"), "");
    EXPECT_EQ(s.lireIni("Langue"), "En");
    EXPECT_EQ(s.lireIni("YCat"), "7");
    EXPECT_EQ(s.lireIni("Absent"), "1");
    EXPECT_EQ(Settings(dir.file("none.INI")).lireIni("Langue"), "1");
    // A folder where the file should be reads as a missing file.
    EXPECT_EQ(Settings(dir.path().string()).lireIni("Langue"), "1");
}

TEST(IniStore, BooleansAreTheWordsVraiAndFaux) {
    ScratchDir dir;
    Settings s(dir.file("Korvane.INI"));
    EXPECT_TRUE(s.chargerOption("CatalogOpen"));
    s.sauverOption("CatalogOpen", false);
    s.sauverOption("LockCat", true);
    EXPECT_FALSE(s.chargerOption("CatalogOpen"));
    EXPECT_EQ(s.lireIni("CatalogOpen"), "Faux");
    EXPECT_EQ(s.lireIni("LockCat"), "Vrai");
    s.ecrireIni("CatalogOpen", "faux");
    EXPECT_TRUE(s.chargerOption("CatalogOpen"));
    s.ecrireIni("CatalogOpen", "  Faux ");
    EXPECT_FALSE(s.chargerOption("CatalogOpen"));
}

TEST(IniStore, LongValuesReadAsTheirFirst254Bytes) {
    EXPECT_EQ(findIniValue("[option]\nk=" + std::string(300, 'x') + "\n", "k"), std::string(254, 'x'));
    // A UTF-8 character across the limit is dropped whole rather than split.
    const std::string twoByte = std::string(253, 'x') + "\xC3\xA9" + "yy";
    EXPECT_EQ(findIniValue("[option]\nk=" + twoByte, "k"), std::string(253, 'x'));
    const std::string euro = std::string(252, 'x') + "\xE2\x82\xAC" + "y";
    EXPECT_EQ(findIniValue("[option]\nk=" + euro, "k"), std::string(252, 'x'));
    // Calculator codes that do not form UTF-8 are cut exactly at the limit.
    const std::string codes = std::string(252, 'x') + "\x88\x88\x88\x88";
    EXPECT_EQ(findIniValue("[option]\nk=" + codes, "k"), codes.substr(0, 254));
    const std::string badLead = std::string(253, 'x') + "\xC3\x41";
    EXPECT_EQ(findIniValue("[option]\nk=" + badLead, "k"), badLead.substr(0, 254));

    ScratchDir dir;
    Settings s(dir.file("Korvane.INI"));
    s.ecrireIni("Chemin", std::string(300, 'c'));
    EXPECT_EQ(s.lireIni("Chemin"), std::string(254, 'c'));
}

TEST(IniStore, RewritesAKeyInPlaceKeepingOrderAndLineEnds) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    ScratchDir::write(path, "; hand note\r\n[option]\r\nA=1\r\nYCat = 5\r\nC=3\r\n\r\n[other]\r\nA=9\r\n");
    Settings s(path);
    s.ecrireIni("Ycat", "120");
    EXPECT_EQ(ScratchDir::read(path), "; hand note\r\n[option]\r\nA=1\r\nYCat=120\r\nC=3\r\n\r\n[other]\r\nA=9\r\n");
    EXPECT_EQ(s.lireIni("YCat"), "120");
    // A new key joins the end of the section, before the blank line and the next section.
    s.ecrireIni("D", "4");
    EXPECT_EQ(ScratchDir::read(path), "; hand note\r\n[option]\r\nA=1\r\nYCat=120\r\nC=3\r\nD=4\r\n\r\n[other]\r\nA=9\r\n");
    // The trailing blank of a key is not part of it.
    s.ecrireIni("OpenChxPrgmFunc ", "Vrai");
    EXPECT_EQ(s.lireIni("OpenChxPrgmFunc"), "Vrai");
    EXPECT_NE(ScratchDir::read(path).find("OpenChxPrgmFunc=Vrai\r\n"), std::string::npos);
}

TEST(IniStore, CreatesFileFolderAndSectionOnFirstWrite) {
    ScratchDir dir;
    const auto nested = dir.file("config/korvane/Korvane.INI");
    Settings fresh(nested);
    fresh.ecrireIni("Langue", "Fr");
    EXPECT_EQ(ScratchDir::read(nested), "[option]\nLangue=Fr\n");

    const auto noSection = dir.file("noSection.INI");
    ScratchDir::write(noSection, "Langue=En");
    Settings s(noSection);
    EXPECT_EQ(s.lireIni("Langue"), "1");
    s.ecrireIni("Langue", "Fr");
    EXPECT_EQ(ScratchDir::read(noSection), "Langue=En\n[option]\nLangue=Fr\n");
    EXPECT_EQ(s.lireIni("Langue"), "Fr");
}

TEST(IniStore, DuplicateKeysAndSectionsUseTheFirstOccurrence) {
    const std::string content =
        "Chemin=outside\n[Option]\nChemin=first\n[Autre]\nChemin=other\n[option]\nchemin=second\nLangue=En\n";
    EXPECT_EQ(findIniValue(content, "Chemin"), "first");
    EXPECT_EQ(findIniValue(content, "Langue"), "En");
    EXPECT_EQ(withIniValue(content, "CHEMIN", "new"),
              "Chemin=outside\n[Option]\nChemin=new\n[Autre]\nChemin=other\n[option]\nchemin=second\nLangue=En\n");
    EXPECT_EQ(withIniValue(content, "Langue", "Fr"),
              "Chemin=outside\n[Option]\nChemin=first\n[Autre]\nChemin=other\n[option]\nchemin=second\nLangue=Fr\n");
    EXPECT_EQ(withIniValue(content, "XCat", "1"),
              "Chemin=outside\n[Option]\nChemin=first\nXCat=1\n[Autre]\nChemin=other\n[option]\nchemin=second\nLangue=En\n");
}

TEST(IniStore, DamagedFilesLoseNoKeyOnTheNextWrite) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    using namespace std::string_literals;
    const std::string head = "\xEF\xBB\xBF[option]\nA=1\n"s;
    std::string rest = "\x01\x02\xFF\xFE garbage\n"s;
    rest += "B=x\0y\n"s;                                 // a NUL ends the value
    rest += "no equals sign here\n[broken\nC=3\r"s;      // a lone CR ends a line too
    rest += std::string(200000, 'L') + "\n";            // a very long line
    rest += "=orphan\n;D=commented\nE=5"s;               // no line end at the very end
    ScratchDir::write(path, head + rest);

    Settings s(path);
    EXPECT_EQ(s.lireIni("A"), "1");
    EXPECT_EQ(s.lireIni("B"), "x");
    EXPECT_EQ(s.lireIni("C"), "3");
    EXPECT_EQ(s.lireIni("D"), "1");
    EXPECT_EQ(s.lireIni("E"), "5");

    s.ecrireIni("A", "2");
    s.ecrireIni("F", "6");
    // Only the rewritten key and the added one differ; every other byte is kept.
    const std::string expected = "\xEF\xBB\xBF[option]\nA=2\n"s + rest + "\nF=6\n";
    const std::string after = ScratchDir::read(path);
    EXPECT_EQ(after.size(), expected.size());
    EXPECT_TRUE(after == expected);
    EXPECT_EQ(s.lireIni("B"), "x");
    EXPECT_EQ(s.lireIni("C"), "3");
    EXPECT_EQ(s.lireIni("E"), "5");
    EXPECT_EQ(s.lireIni("F"), "6");
}

TEST(IniStore, WritesAreWholeOrNotAtAll) {
    ScratchDir dir;
    const auto path = dir.file("Korvane.INI");
    Settings s(path);
    s.ecrireIni("Langue", "En");
    // A value cannot carry a line break into the file: it keeps the text before it.
    s.ecrireIni("Chemin", "/home/a\n[option]\nLangue=Fr");
    EXPECT_EQ(s.lireIni("Chemin"), "/home/a");
    EXPECT_EQ(s.lireIni("Langue"), "En");
    // Only the settings file is left in the folder: no temporary file remains.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);

    // A file that can't be created loses the write silently.
    ScratchDir::write(dir.file("plain"), "x");
    Settings impossible(dir.file("plain/Korvane.INI"));
    impossible.ecrireIni("Langue", "En");
    EXPECT_EQ(impossible.lireIni("Langue"), "1");
    EXPECT_EQ(ScratchDir::read(dir.file("plain")), "x");
    EXPECT_FALSE(writeIniFile(dir.path().string(), "Langue", "En"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));

    // Writing through a link updates the file it names and keeps the link.
    std::filesystem::create_symlink("Korvane.INI", dir.file("link.INI"));
    Settings(dir.file("link.INI")).ecrireIni("Langue", "Fr");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.INI")));
    EXPECT_EQ(s.lireIni("Langue"), "Fr");
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(IniStore, LocatesTheSettingsFile) {
    ScratchDir dir;
    const std::string exeDir = dir.path().string();
    {
        ScopedEnv ini("KORVANE_INI", "/somewhere/test.INI");
        EXPECT_EQ(locateCheminIni(exeDir), "/somewhere/test.INI");
    }
    ScopedEnv ini("KORVANE_INI", nullptr);
    EXPECT_EQ(locateCheminIni(exeDir), exeDir + "/Korvane.INI");

    const std::string missingDir = dir.file("not-there");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(locateCheminIni(missingDir), "/xdg/korvane/Korvane.INI");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(locateCheminIni(missingDir), "/home/someone/.config/korvane/Korvane.INI");
}

}  // namespace
}  // namespace korvane
