// Running a program, the calculator's screen and its PNG, every variable listed with
// its flags, received and deleted, and the backup into one group file: the words and
// extensions of the types, then each operation against the simulated calculator.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "files/VariableTable.h"
#include "link/CalcScreen.h"
#include "link/CalcTypes.h"
#include "link/Link.h"
#include "link/PngCheck.h"
#include "link/SimulatorProcess.h"
#include "support/ScratchDir.h"

namespace korvane::link {
namespace {

using test::decodePng;
using test::DecodedPng;
using test::randomScreen;
using test::screenOf;
using test::ScratchDir;
using test::SimulatorProcess;

constexpr auto kEnglish = Language::English;
constexpr auto kFrench = Language::French;

LinkOptions virtualCable(Calc calc = Calc::TI89, int timeoutTenths = 20) {
    LinkOptions o;
    o.calc = calc;
    o.cable = Cable::TiEmu;
    o.port = 1;
    o.timeoutTenths = timeoutTenths;
    return o;
}

std::unique_ptr<Link> openLink(const LinkOptions& options) {
    auto opened = Link::open(options);
    EXPECT_TRUE(opened.ok()) << opened.status.message(kEnglish);
    return std::move(opened.value);
}

std::vector<int> keysOf(const ScratchDir& dir) {
    std::istringstream in(ScratchDir::read(dir.file("keys")));
    std::vector<int> keys;
    for (int k; in >> k;) keys.push_back(k);
    return keys;
}

std::vector<int> typed(const std::string& text) {
    std::vector<int> keys;
    for (const unsigned char c : text) keys.push_back(c);
    return keys;
}

TEST(CalcTypes, WordsAndExtensionsOfEveryType) {
    // The types, their words and libtifiles' extension letters.
    const struct {
        std::uint8_t type;
        const char* french;
        const char* english;
        char letter;
    } types[] = {{0x00, "expression", "expression", 'e'}, {0x04, "liste", "list", 'l'},
                 {0x06, "matrice", "matrix", 'm'},        {0x0A, "données", "data", 'c'},
                 {0x0B, "texte", "text", 't'},            {0x0C, "chaîne", "string", 's'},
                 {0x0E, "figure", "figure", 'a'},         {0x10, "image", "picture", 'i'},
                 {0x12, "programme", "program", 'p'},     {0x13, "fonction", "function", 'f'},
                 {0x14, "macro", "macro", 'x'},           {0x21, "assembleur", "assembly", 'z'},
                 {0x0D, "autre", "other", 'd'},           {0x02, "autre", "other", '?'},
                 {0x1F, "autre", "other", '?'},           {0xFF, "autre", "other", '?'}};
    for (const auto& t : types) {
        EXPECT_EQ(typeWord(t.type, kFrench), t.french) << int(t.type);
        EXPECT_EQ(typeWord(t.type, kEnglish), t.english) << int(t.type);
        EXPECT_EQ(singleFileExtension(t.type, Calc::TI89), std::string(".89") + t.letter);
        EXPECT_EQ(singleFileExtension(t.type, Calc::TI89Titanium), std::string(".89") + t.letter);
        EXPECT_EQ(singleFileExtension(t.type, Calc::TI92Plus), std::string(".9x") + t.letter);
        EXPECT_EQ(singleFileExtension(t.type, Calc::Voyage200), std::string(".v2") + t.letter);
    }
    EXPECT_EQ(groupFileExtension(Calc::TI89), ".89g");
    EXPECT_EQ(groupFileExtension(Calc::TI89Titanium), ".89g");
    EXPECT_EQ(groupFileExtension(Calc::TI92Plus), ".9xg");
    EXPECT_EQ(groupFileExtension(Calc::Voyage200), ".v2g");
}

TEST(CalcScreen, PixelsVisiblePartAndPngOfEveryPixel) {
    const Bytes bits = randomScreen(7);
    const Screen screen = screenOf(bits);
    // Most significant bit leftmost, 30 bytes a row.
    Screen one;
    one.bits.assign(Screen::kRowBytes * Screen::kHeight, 0);
    one.bits[2 * Screen::kRowBytes + 1] = 0x40;  // (9, 2)
    EXPECT_TRUE(one.dark(9, 2));
    EXPECT_FALSE(one.dark(8, 2));
    EXPECT_FALSE(one.dark(10, 2));
    EXPECT_FALSE(one.dark(9, 1));
    EXPECT_FALSE(one.dark(-1, 0));
    EXPECT_FALSE(one.dark(240, 0));
    EXPECT_FALSE(Screen{}.dark(0, 0));

    EXPECT_EQ(visibleScreen(Calc::TI89).width, 160);
    EXPECT_EQ(visibleScreen(Calc::TI89Titanium).height, 100);
    EXPECT_EQ(visibleScreen(Calc::TI92Plus).width, 240);
    EXPECT_EQ(visibleScreen(Calc::Voyage200).height, 128);

    for (const bool grey : {false, true}) {
        for (const ScreenSize size : {visibleScreen(Calc::TI89), visibleScreen(Calc::Voyage200)}) {
            const DecodedPng png = decodePng(screenPng(screen, size, grey));
            EXPECT_EQ(png.width, size.width);
            EXPECT_EQ(png.height, size.height);
            EXPECT_EQ(png.depth, grey ? 8 : 1);
            EXPECT_EQ(png.colour, 0);
            ASSERT_EQ(png.pixels.size(), static_cast<std::size_t>(size.height));
            int wrong = 0;
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x) wrong += png.pixels[y][x] == (screen.dark(x, y) ? 1 : 0);
            EXPECT_EQ(wrong, 0) << "grey " << grey << " width " << size.width;
        }
    }
    // A size past the screen is the whole screen.
    EXPECT_EQ(decodePng(screenPng(screen, {500, 500})).width, Screen::kWidth);
}

TEST(SimulatedCalculator, RunTypesTheLineWithEachModelsKeys) {
    for (const Calc calc : {Calc::TI89, Calc::Voyage200}) {
        ScratchDir dir;
        {
            SimulatorProcess calculator(dir, {"--calc", calc == Calc::TI89 ? "ti89" : "v200"});
            ASSERT_TRUE(calculator.ready()) << calculator.log();
            auto link = openLink(virtualCable(calc));
            ASSERT_TRUE(link);
            EXPECT_TRUE(link->execute("main\\hi", "1,2").ok());
            // A calculator's own letter above 127 is typed as its code.
            EXPECT_TRUE(link->execute(std::string("main\\\x80x"), "").ok());
            EXPECT_EQ(link->execute("main\\toolongname", "").id, MessageId::BadName);
        }
        const std::vector<int> home = calc == Calc::TI89 ? std::vector<int>{277, 263, 263}
                                                         : std::vector<int>{8273, 263, 263};
        std::vector<int> expected = home;
        for (int k : typed("main\\hi(1,2)")) expected.push_back(k);
        expected.push_back(13);
        expected.insert(expected.end(), home.begin(), home.end());
        for (int k : typed("main\\\x80x()")) expected.push_back(k);
        expected.push_back(13);
        EXPECT_EQ(keysOf(dir), expected);
    }
}

TEST(SimulatedCalculator, KeyNotAcknowledgedIsNoAnswer) {
    ScratchDir dir;
    SimulatorProcess calculator(dir, {"--deaf-keys"});
    ASSERT_TRUE(calculator.ready()) << calculator.log();
    auto link = openLink(virtualCable(Calc::TI89, 5));
    ASSERT_TRUE(link);
    const LinkStatus status = link->execute("main\\hi", "");
    EXPECT_EQ(status.id, MessageId::NoAnswer) << status.message(kEnglish);
}

TEST(SimulatedCalculator, ScreenWholeAndCut) {
    ScratchDir dir;
    const Bytes bits = randomScreen(11);
    ScratchDir::write(dir.file("screen.bin"), bits);
    {
        SimulatorProcess calculator(dir, {"--calc", "ti92p", "--screen", dir.file("screen.bin")});
        ASSERT_TRUE(calculator.ready()) << calculator.log();
        auto link = openLink(virtualCable(Calc::TI92Plus));
        ASSERT_TRUE(link);
        const auto taken = link->takeScreen();
        ASSERT_TRUE(taken.ok()) << taken.status.message(kEnglish);
        ASSERT_EQ(taken.value.bits.size(), bits.size());
        int wrong = 0;
        for (int y = 0; y < Screen::kHeight; ++y)
            for (int x = 0; x < Screen::kWidth; ++x)
                wrong += taken.value.dark(x, y) != screenOf(bits).dark(x, y);
        EXPECT_EQ(wrong, 0);
        // The link goes on after it.
        EXPECT_TRUE(link->checkReady().ok());
    }
    {
        SimulatorProcess calculator(dir, {"--screen", dir.file("screen.bin"), "--cut-screen"});
        ASSERT_TRUE(calculator.ready()) << calculator.log();
        auto link = openLink(virtualCable(Calc::TI89, 5));
        ASSERT_TRUE(link);
        const auto cut = link->takeScreen();
        EXPECT_EQ(cut.status.id, MessageId::Cut) << cut.status.message(kEnglish);
        EXPECT_TRUE(cut.value.bits.empty());
    }
}

TEST(SimulatedCalculator, EveryVariableListedWithFlagsReceivedAndDeleted) {
    ScratchDir dir;
    std::string deleted;
    {
        SimulatorProcess calculator(dir, {"--many", "24", "--flags", "f1\\v1=1", "--flags", "f2\\v2=2", "--flags",
                                          "f3\\v3=3"});
        ASSERT_TRUE(calculator.ready()) << calculator.log();
        auto link = openLink(virtualCable());
        ASSERT_TRUE(link);
        const auto listed = link->listVariables();
        ASSERT_TRUE(listed.ok()) << listed.status.message(kEnglish);
        ASSERT_EQ(listed.value.size(), 24u);
        std::set<std::uint8_t> types;
        for (const CalcVariable& v : listed.value) {
            types.insert(v.type);
            const int i = std::stoi(v.name.substr(1));
            EXPECT_EQ(v.folder, "f" + std::to_string(i % 5));
            EXPECT_EQ(v.size, 2u + 20 + static_cast<unsigned>(i % 50) * 10) << v.name;
            EXPECT_EQ(v.locked, i == 1 || i == 3) << v.name;
            EXPECT_EQ(v.archived, i == 2 || i == 3) << v.name;
        }
        EXPECT_EQ(types.size(), 12u);
        // Programs alone are still listed as before.
        EXPECT_EQ(link->listPrograms().value.size(), 4u);

        // A list comes as a single-variable file that reads back as that list.
        const CalcVariable* list = nullptr;
        for (const CalcVariable& v : listed.value)
            if (v.type == 0x04) list = &v;
        ASSERT_NE(list, nullptr);
        const auto received = link->receiveVariable(*list);
        ASSERT_TRUE(received.ok()) << received.status.message(kEnglish);
        const VariableTable table = readVariableTable(received.value);
        ASSERT_TRUE(table.ok()) << table.error;
        ASSERT_EQ(table.variables.size(), 1u);
        EXPECT_EQ(table.signature, "**TI89**");
        EXPECT_EQ(table.variables[0].type, 0x04);
        EXPECT_EQ(table.variables[0].name, list->name);
        EXPECT_EQ(table.variables[0].data.size(), list->size - 2);

        deleted = listed.value[5].qualifiedName();
        EXPECT_TRUE(link->deleteVariable(listed.value[5]).ok());
        const auto after = link->listVariables();
        ASSERT_EQ(after.value.size(), 23u);
        for (const CalcVariable& v : after.value) EXPECT_NE(v.qualifiedName(), listed.value[5].qualifiedName());
        // A variable it no longer holds is refused.
        EXPECT_EQ(link->deleteVariable(listed.value[5]).id, MessageId::Refused);
    }
    EXPECT_EQ(ScratchDir::read(dir.file("deleted")), deleted + "\n");
    {
        SimulatorProcess calculator(dir, {"--many", "3", "--refuse-delete", "0x1E"});
        ASSERT_TRUE(calculator.ready()) << calculator.log();
        auto link = openLink(virtualCable());
        ASSERT_TRUE(link);
        const auto listed = link->listVariables();
        ASSERT_EQ(listed.value.size(), 3u);
        const LinkStatus refused = link->deleteVariable(listed.value[0]);
        EXPECT_EQ(refused.id, MessageId::Refused);
        EXPECT_EQ(refused.code, kSkipLockedOrArchived);
        EXPECT_NE(refused.message(kEnglish).find("f0\\v0"), std::string::npos);
        EXPECT_EQ(link->listVariables().value.size(), 3u);
    }
}

TEST(SimulatedCalculator, BackupIsOneGroupFileReadBackMemberForMember) {
    for (const Calc calc : {Calc::TI89, Calc::Voyage200}) {
        ScratchDir dir;
        SimulatorProcess calculator(dir, {"--calc", calc == Calc::TI89 ? "ti89" : "v200", "--many", "13"});
        ASSERT_TRUE(calculator.ready()) << calculator.log();
        auto link = openLink(virtualCable(calc));
        ASSERT_TRUE(link);
        const auto listed = link->listVariables();
        ASSERT_TRUE(listed.ok());
        std::vector<double> progress;
        TransferControl control;
        control.onProgress = [&progress](double f) { progress.push_back(f); };
        const auto group = link->backup(&control);
        ASSERT_TRUE(group.ok()) << group.status.message(kEnglish);
        const VariableTable table = readVariableTable(group.value);
        ASSERT_TRUE(table.ok()) << table.error;
        EXPECT_EQ(table.signature, calc == Calc::TI89 ? "**TI89**" : "**TI92P*");
        ASSERT_EQ(table.variables.size(), listed.value.size());
        for (std::size_t i = 0; i < listed.value.size(); ++i) {
            const CalcVariable& v = listed.value[i];
            const TableEntry* member = nullptr;
            for (const TableEntry& e : table.variables)
                if (e.folder == v.folder && e.name == v.name) member = &e;
            ASSERT_NE(member, nullptr) << v.qualifiedName();
            EXPECT_EQ(member->type, v.type);
            const int n = std::stoi(v.name.substr(1));
            ASSERT_EQ(member->data.size(), v.size - 2);
            for (std::size_t k = 0; k < member->data.size(); ++k)
                ASSERT_EQ(static_cast<unsigned char>(member->data[k]), (n * 31 + k) & 0xFF) << v.qualifiedName();
        }
        ASSERT_FALSE(progress.empty());
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_DOUBLE_EQ(progress.back(), 1.0);
    }
}

TEST(SimulatedCalculator, BackupCancelledAfterItsFirstVariableGivesNoFile) {
    ScratchDir dir;
    SimulatorProcess calculator(dir, {"--many", "6"});
    ASSERT_TRUE(calculator.ready()) << calculator.log();
    auto link = openLink(virtualCable());
    ASSERT_TRUE(link);
    TransferControl control;
    control.onProgress = [&control](double f) {
        if (f > 0 && f < 1) control.cancel();
    };
    const auto group = link->backup(&control);
    EXPECT_EQ(group.status.id, MessageId::Cancelled) << group.status.message(kEnglish);
    EXPECT_TRUE(group.value.empty());
    // The link goes on after it.
    control.reset();
    EXPECT_EQ(link->listVariables().value.size(), 6u);
}

TEST(SimulatedCalculator, BackupOfAnEmptyCalculatorIsRefusedAndProgressGoesOn) {
    ScratchDir dir;
    SimulatorProcess calculator(dir, {});
    ASSERT_TRUE(calculator.ready()) << calculator.log();
    auto link = openLink(virtualCable());
    ASSERT_TRUE(link);
    EXPECT_EQ(link->backup().status.id, MessageId::NoSuchVariable);
    // The next operation reports its own progress again.
    std::vector<double> progress;
    TransferControl control;
    control.onProgress = [&progress](double f) { progress.push_back(f); };
    EXPECT_TRUE(link->execute("main\\hi", "", &control).ok());
    ASSERT_GT(progress.size(), 2u);
    EXPECT_DOUBLE_EQ(progress.back(), 1.0);
}

TEST(SimulatedCalculator, BackupCutMidwayGivesNoFile) {
    ScratchDir dir;
    SimulatorProcess calculator(dir, {"--many", "4", "--cut"});
    ASSERT_TRUE(calculator.ready()) << calculator.log();
    auto link = openLink(virtualCable(Calc::TI89, 5));
    ASSERT_TRUE(link);
    const auto group = link->backup();
    EXPECT_EQ(group.status.id, MessageId::Cut) << group.status.message(kEnglish);
    EXPECT_TRUE(group.value.empty());
}

}  // namespace
}  // namespace korvane::link
