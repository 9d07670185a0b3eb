// korvane-tool run, screen, ls --all, recv of any type, rm, backup and send of a
// group file's members (and --run) against the simulated calculator: their output,
// the files they write, one line on stderr for a failure and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "files/VariableTable.h"
#include "link/PngCheck.h"
#include "link/SimulatorProcess.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"
#include "support/ToolRun.h"

namespace korvane {
namespace {

using test::ScratchDir;
using test::SimulatorProcess;
using test::ToolRun;

#define REQUIRE_SAMPLES() \
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage()

std::string quoted(const std::string& s) { return "'" + s + "'"; }

std::string sample(const std::string& name) { return (samples::folder() / name).string(); }

const char* const kGroup = "tilibs__ti89_group.89g";

ToolRun tool(const std::string& arguments, const ScratchDir& dir, const std::string& ini) {
    return test::runTool(arguments, dir, "KORVANE_INI=" + quoted(ini) + " ");
}

std::string virtualCableIni(const ScratchDir& dir, const char* calc = "ti89") {
    const std::string ini = dir.file("Korvane.INI");
    ScratchDir::write(ini, std::string("[option]\nCalc=") + calc + "\nCable=tiemu\nPort=1\n");
    return ini;
}

std::string keysText(const ScratchDir& dir) {
    std::istringstream in(ScratchDir::read(dir.file("keys")));
    std::string text;
    for (int k; in >> k;) text += k < 256 ? std::string(1, static_cast<char>(k)) : "<" + std::to_string(k) + ">";
    return text;
}

TEST(KorvaneToolCalc, EveryVariableListedReceivedDeletedAndBackedUp) {
    REQUIRE_SAMPLES();
    ScratchDir dir;
    const std::string ini = virtualCableIni(dir);
    const VariableTable group = readVariableTable(samples::bytesOf(sample(kGroup)));
    ASSERT_EQ(group.variables.size(), 12u);
    ScratchDir simDir;
    {
        SimulatorProcess calculator(simDir, {"--hold", sample(kGroup), "--flags", "group\\prg=1", "--flags",
                                             "group\\str=2", "--flags", "group\\txt=3"});
        ASSERT_TRUE(calculator.ready()) << calculator.log();

        const ToolRun listed = tool("ls --all", dir, ini);
        ASSERT_EQ(listed.status, 0) << listed.err;
        std::string expected;
        for (const TableEntry& e : group.variables) {
            const std::map<std::string, std::string> words = {
                {"data", "data"}, {"express", "expression"}, {"f", "function"}, {"fig", "figure"},
                {"gdb", "other"}, {"list", "list"},          {"mac", "macro"},  {"mat", "matrix"},
                {"pic", "picture"}, {"prg", "program"},      {"str", "string"}, {"txt", "text"}};
            const std::map<std::string, std::string> flags = {{"prg", "L"}, {"str", "A"}, {"txt", "LA"}};
            expected += "group\\" + e.name + " " + words.at(e.name) + " " + std::to_string(e.data.size() + 2) + " " +
                        (flags.count(e.name) ? flags.at(e.name) : "-") + "\n";
        }
        EXPECT_EQ(listed.out, expected);

        // A list comes into a file that reads back as that list.
        const std::string list = dir.file("list.89l");
        const ToolRun got = tool("recv 'group\\list' " + quoted(list), dir, ini);
        ASSERT_EQ(got.status, 0) << got.err;
        const VariableTable received = readVariableTable(ScratchDir::read(list));
        ASSERT_TRUE(received.ok()) << received.error;
        const TableEntry* original = group.find("group\\list");
        for (const TableEntry& e : group.variables)
            if (e.name == "list") original = &e;
        ASSERT_NE(original, nullptr);
        EXPECT_EQ(received.variables.front().type, 0x04);
        EXPECT_TRUE(test::sameBytes(received.variables.front().data, original->data));

        const std::string backup = dir.file("all.89g");
        const ToolRun saved = tool("backup " + quoted(backup), dir, ini);
        ASSERT_EQ(saved.status, 0) << saved.err;
        const VariableTable all = readVariableTable(ScratchDir::read(backup));
        ASSERT_TRUE(all.ok()) << all.error;
        ASSERT_EQ(all.variables.size(), group.variables.size());
        for (std::size_t i = 0; i < all.variables.size(); ++i) {
            EXPECT_EQ(all.variables[i].qualifiedName(), group.variables[i].qualifiedName());
            EXPECT_EQ(all.variables[i].type, group.variables[i].type);
            EXPECT_TRUE(test::sameBytes(all.variables[i].data, group.variables[i].data)) << all.variables[i].name;
        }

        const ToolRun removed = tool("rm 'group\\mat'", dir, ini);
        EXPECT_EQ(removed.status, 0) << removed.err;
        EXPECT_EQ(tool("ls --all", dir, ini).out.find("group\\mat "), std::string::npos);
        const ToolRun again = tool("rm 'group\\mat'", dir, ini);
        EXPECT_EQ(again.status, 1);
        EXPECT_TRUE(again.oneErrorLine()) << again.err;
        EXPECT_NE(again.err.find("holds no variable named group\\mat"), std::string::npos) << again.err;
    }
    EXPECT_EQ(ScratchDir::read(simDir.file("deleted")), "group\\mat\n");
}

TEST(KorvaneToolCalc, SendGroupMembersThenRunAndTakeTheScreen) {
    REQUIRE_SAMPLES();
    ScratchDir dir;
    const std::string ini = virtualCableIni(dir);
    const Bytes bits = test::randomScreen(3);
    ScratchDir::write(dir.file("screen.bin"), bits);
    ScratchDir simDir;
    SimulatorProcess calculator(simDir, {"--screen", dir.file("screen.bin")});
    ASSERT_TRUE(calculator.ready()) << calculator.log();

    const ToolRun sent = tool("send " + quoted(sample(kGroup)), dir, ini);
    EXPECT_EQ(sent.status, 0) << sent.err;
    const ToolRun run = tool("run 'main\\hi' --args 1,2", dir, ini);
    EXPECT_EQ(run.status, 0) << run.err;
    const ToolRun sendRun = tool("send " + quoted(sample("sseng__sgsgeo.89p")) + " --run --args '\"a\"'", dir, ini);
    EXPECT_EQ(sendRun.status, 0) << sendRun.err;
    // --run takes one program: a whole group is refused before anything is sent.
    const ToolRun many = tool("send " + quoted(sample(kGroup)) + " --run", dir, ini);
    EXPECT_EQ(many.status, 1);
    EXPECT_TRUE(many.oneErrorLine()) << many.err;

    const link::Screen screen = test::screenOf(bits);
    for (const char* options : {"", " --full", " --grey"}) {
        const std::string png = dir.file("screen.png");
        const ToolRun taken = tool("screen " + quoted(png) + options, dir, ini);
        ASSERT_EQ(taken.status, 0) << taken.err;
        const test::DecodedPng decoded = test::decodePng(ScratchDir::read(png));
        const bool full = std::string(options) == " --full";
        EXPECT_EQ(decoded.width, full ? 240 : 160) << options;
        EXPECT_EQ(decoded.height, full ? 128 : 100) << options;
        EXPECT_EQ(decoded.depth, std::string(options) == " --grey" ? 8 : 1);
        int wrong = 0;
        for (int y = 0; y < decoded.height; ++y)
            for (int x = 0; x < decoded.width; ++x) wrong += decoded.pixels[y][x] == (screen.dark(x, y) ? 1 : 0);
        EXPECT_EQ(wrong, 0) << options;
    }

    ASSERT_EQ(calculator.finish(), 0);
    const auto received = calculator.received();
    ASSERT_EQ(received.size(), 13u);
    EXPECT_EQ(received[0].qualifiedName, "group\\data");
    EXPECT_EQ(received[11].qualifiedName, "group\\txt");
    EXPECT_EQ(received[12].qualifiedName, "sgs\\sgsgeo");
    EXPECT_EQ(keysText(simDir), "<277><263><263>main\\hi(1,2)\r<277><263><263>sgs\\sgsgeo(\"a\")\r");
}

TEST(KorvaneToolCalc, FailuresGiveOneLineAndNoFile) {
    REQUIRE_SAMPLES();
    ScratchDir dir;
    const std::string ini = virtualCableIni(dir);
    const std::string out = dir.file("out.89g");
    const auto nothingNamedOut = [&dir] {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().find("out"), std::string::npos) << entry.path();
    };
    {
        ScratchDir simDir;
        SimulatorProcess calculator(simDir, {"--hold", sample(kGroup), "--refuse-delete", "0x1E"});
        ASSERT_TRUE(calculator.ready());
        const ToolRun refused = tool("rm 'group\\prg'", dir, ini);
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.oneErrorLine()) << refused.err;
        EXPECT_NE(refused.err.find("locked or archived"), std::string::npos) << refused.err;
    }
    {
        ScratchDir simDir;
        SimulatorProcess calculator(simDir, {"--deaf-keys"});
        ASSERT_TRUE(calculator.ready());
        const ToolRun deaf = tool("run 'main\\hi' --timeout 0.5", dir, ini);
        EXPECT_EQ(deaf.status, 1);
        EXPECT_TRUE(deaf.oneErrorLine()) << deaf.err;
        EXPECT_NE(deaf.err.find("did not answer in time"), std::string::npos) << deaf.err;
    }
    {
        ScratchDir simDir;
        SimulatorProcess calculator(simDir, {"--cut-screen"});
        ASSERT_TRUE(calculator.ready());
        const ToolRun cut = tool("screen " + quoted(dir.file("out.png")) + " --timeout 0.5", dir, ini);
        EXPECT_EQ(cut.status, 1);
        EXPECT_TRUE(cut.oneErrorLine()) << cut.err;
        EXPECT_NE(cut.err.find("cut midway"), std::string::npos) << cut.err;
        nothingNamedOut();
    }
    {
        ScratchDir simDir;
        SimulatorProcess calculator(simDir, {"--hold", sample(kGroup), "--cut"});
        ASSERT_TRUE(calculator.ready());
        const ToolRun cut = tool("backup " + quoted(out) + " --timeout 0.5", dir, ini);
        EXPECT_EQ(cut.status, 1);
        EXPECT_TRUE(cut.oneErrorLine()) << cut.err;
        EXPECT_NE(cut.err.find("cut midway"), std::string::npos) << cut.err;
        nothingNamedOut();
    }
    for (const char* arguments : {"run", "run a b", "screen", "rm", "backup", "send x --args 1", "ls --all extra"}) {
        const ToolRun run = tool(arguments, dir, ini);
        EXPECT_EQ(run.status, 2) << arguments << ": " << run.err;
    }
}

}  // namespace
}  // namespace korvane
