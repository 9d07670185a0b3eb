// korvane-tool send, ls and recv against the simulated calculator: their output,
// the files they write, one line on stderr for a failure, and the exit status
// (1 for a failure, 2 for a usage error).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "files/VariableTable.h"
#include "link/SimulatorProcess.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"
#include "support/ToolRun.h"

namespace korvane {
namespace {

using test::ScratchDir;
using test::ToolRun;
using test::sameBytes;
using test::SimulatorProcess;

#define REQUIRE_SAMPLES() \
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage()

std::string quoted(const std::string& s) { return "'" + s + "'"; }

std::string sample(const std::string& name) { return (samples::folder() / name).string(); }

// korvane-tool with the settings file `ini` (the link's defaults come from it).
ToolRun tool(const std::string& arguments, const ScratchDir& dir, const std::string& ini) {
    return test::runTool(arguments, dir, "KORVANE_INI=" + quoted(ini) + " ");
}

TEST(KorvaneToolLink, SendListAndReceiveWithTheSettingsCable) {
    REQUIRE_SAMPLES();
    ScratchDir dir;
    const std::string ini = dir.file("Korvane.INI");
    ScratchDir::write(ini, "[option]\nCalc=ti89\nCable=tiemu\nPort=1\n");
    ScratchDir simDir;
    SimulatorProcess calculator(simDir, {"--hold", sample("dapperfu__me572.dh.89f")});
    ASSERT_TRUE(calculator.ready()) << calculator.log();

    const ToolRun sent = tool("send " + quoted(sample("sseng__sgsgeo.89p")), dir, ini);
    EXPECT_EQ(sent.status, 0) << sent.err << calculator.log();
    EXPECT_EQ(sent.err, "");

    // --var sends one member of a group file.
    const ToolRun member = tool("send " + quoted(sample("tilibs__ti89_group.89g")) + " --var 'group\\prg'", dir, ini);
    EXPECT_EQ(member.status, 0) << member.err;

    const ToolRun listed = tool("ls", dir, ini);
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out,
              "me572\\dh function 414\n"
              "sgs\\sgsgeo program 21376\n"
              "group\\prg program 29\n");

    const std::string out = dir.file("got.89p");
    const ToolRun got = tool("recv 'sgs\\sgsgeo' " + quoted(out), dir, ini);
    EXPECT_EQ(got.status, 0) << got.err;
    const VariableTable table = readVariableTable(ScratchDir::read(out));
    ASSERT_TRUE(table.ok()) << table.error;
    const TableEntry original = *readVariableTable(samples::bytesOf(sample("sseng__sgsgeo.89p"))).programs().front();
    EXPECT_EQ(table.variables.front().qualifiedName(), "sgs\\sgsgeo");
    EXPECT_TRUE(sameBytes(table.variables.front().data, original.data)) << calculator.log();

    ASSERT_EQ(calculator.finish(), 0);
    const auto received = calculator.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].qualifiedName, "sgs\\sgsgeo");
    EXPECT_EQ(received[1].qualifiedName, "group\\prg");
}

TEST(KorvaneToolLink, FailuresGiveOneLineAndStatusOne) {
    REQUIRE_SAMPLES();
    ScratchDir dir;
    const std::string ini = dir.file("Korvane.INI");  // absent: the defaults
    const std::string out = dir.file("out.89p");

    test::dropStaleVirtualCable();
    const ToolRun nobody = tool("ls --cable tiemu", dir, ini);
    EXPECT_EQ(nobody.status, 1);
    EXPECT_TRUE(nobody.oneErrorLine()) << nobody.err;
    EXPECT_NE(nobody.err.find("No calculator on the virtual cable"), std::string::npos) << nobody.err;

    {
        ScratchDir simDir;
        SimulatorProcess calculator(simDir, {"--mute"});
        ASSERT_TRUE(calculator.ready());
        const ToolRun silent = tool("ls --cable tiemu --timeout 0.3", dir, ini);
        EXPECT_EQ(silent.status, 1);
        EXPECT_TRUE(silent.oneErrorLine()) << silent.err;
        EXPECT_NE(silent.err.find("did not answer in time"), std::string::npos) << silent.err;
    }
    {
        ScratchDir simDir;
        // A skip code libticalcs does not know makes it log a warning, which stays
        // off stderr.
        SimulatorProcess calculator(simDir, {"--refuse", "0x42"});
        ASSERT_TRUE(calculator.ready());
        const ToolRun refused = tool("send " + quoted(sample("dapperfu__me572.dh.89f")) + " --cable tiemu", dir, ini);
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.oneErrorLine()) << refused.err;
        EXPECT_NE(refused.err.find("refused me572\\dh (code 0x42): its memory may be full"), std::string::npos)
            << refused.err;
    }
    {
        ScratchDir simDir;
        SimulatorProcess calculator(simDir, {"--cut", "--hold", sample("sseng__sgsgeo.89p")});
        ASSERT_TRUE(calculator.ready());
        const ToolRun cut = tool("recv 'sgs\\sgsgeo' " + quoted(out) + " --cable tiemu --timeout 0.5", dir, ini);
        EXPECT_EQ(cut.status, 1);
        EXPECT_TRUE(cut.oneErrorLine()) << cut.err;
        EXPECT_NE(cut.err.find("cut midway"), std::string::npos) << cut.err;
        // Nothing written, not even a partial file beside it.
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().find("out"), std::string::npos) << entry.path();
    }
}

// A send that timed out while the calculator answered late, then the same send
// again at once: it works on the first try.
TEST(KorvaneToolLink, ASendAfterATimeOutWorksAtOnce) {
    REQUIRE_SAMPLES();
    ScratchDir dir;
    const std::string ini = dir.file("Korvane.INI");
    ScratchDir::write(ini, "[option]\nCalc=ti89\nCable=tiemu\nPort=1\n");
    ScratchDir simDir;
    SimulatorProcess calculator(simDir, {});
    ASSERT_TRUE(calculator.ready()) << calculator.log();
    const std::string send = "send " + quoted(sample("dapperfu__me572.dh.89f")) + " --timeout 0.3";

    ASSERT_TRUE(calculator.stallNext(1200));
    const ToolRun late = tool(send, dir, ini);
    EXPECT_EQ(late.status, 1);
    EXPECT_TRUE(late.oneErrorLine()) << late.err;
    EXPECT_NE(late.err.find("cut midway"), std::string::npos) << late.err;
    const ToolRun again = tool(send, dir, ini);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.err, "");
    ASSERT_EQ(calculator.finish(), 0);
    EXPECT_FALSE(calculator.received().empty()) << calculator.log();
}

// A name alone that two folders hold is not guessed: the message names both and
// nothing is written; with its folder, each comes as that folder holds it.
TEST(KorvaneToolLink, ANameInTwoFoldersNeedsItsFolder) {
    REQUIRE_SAMPLES();
    ScratchDir dir;
    const std::string ini = dir.file("Korvane.INI");
    ScratchDir::write(ini, "[option]\nCalc=ti89\nCable=tiemu\nPort=1\n");
    VariableTable table = readVariableTable(samples::bytesOf(sample("dapperfu__me572.dh.89f")));
    const TableEntry original = table.variables.front();
    TableEntry other = original;
    other.folder = "main";
    other.data[other.data.size() / 2] ^= 1;
    table.singleHeader.clear();
    table.singleCheck.clear();
    ScratchDir::write(dir.file("other.89f"), singleVariableFile(table, other));
    ScratchDir simDir;
    SimulatorProcess calculator(simDir, {"--hold", dir.file("other.89f"), "--hold", sample("dapperfu__me572.dh.89f")});
    ASSERT_TRUE(calculator.ready()) << calculator.log();

    const std::string out = dir.file("out.89f");
    const ToolRun alone = tool("recv dh " + quoted(out), dir, ini);
    EXPECT_EQ(alone.status, 1);
    EXPECT_TRUE(alone.oneErrorLine()) << alone.err;
    EXPECT_NE(alone.err.find("main\\dh"), std::string::npos) << alone.err;
    EXPECT_NE(alone.err.find("me572\\dh"), std::string::npos) << alone.err;
    EXPECT_NE(alone.err.find("FOLDER\\NAME"), std::string::npos) << alone.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    for (const TableEntry& wanted : {original, other}) {
        const ToolRun got = tool("recv " + quoted(wanted.qualifiedName()) + " " + quoted(out), dir, ini);
        ASSERT_EQ(got.status, 0) << got.err;
        const VariableTable received = readVariableTable(ScratchDir::read(out));
        ASSERT_TRUE(received.ok()) << received.error;
        EXPECT_EQ(received.variables.front().qualifiedName(), wanted.qualifiedName());
        EXPECT_TRUE(sameBytes(received.variables.front().data, wanted.data)) << wanted.qualifiedName();
    }
}

TEST(KorvaneToolLink, UsageErrorsGiveStatusTwo) {
    ScratchDir dir;
    const std::string ini = dir.file("Korvane.INI");
    for (const char* arguments : {"ls --calc ti85", "ls --cable usb", "ls --port 5", "ls --timeout x", "ls --timeout 0",
                                  "ls extra", "recv 'main\\x'", "send", "send a b", "ls --calc"}) {
        const ToolRun run = tool(arguments, dir, ini);
        EXPECT_EQ(run.status, 2) << arguments << ": " << run.err;
    }
    EXPECT_NE(tool("ls --calc ti85", dir, ini).err.find("unknown calculator ti85"), std::string::npos);
    EXPECT_NE(tool("ls --cable usb", dir, ini).err.find("unknown cable usb"), std::string::npos);
    // The DirectLink port is the Titanium's: a failure of the link, not of the command line.
    const ToolRun wrong = tool("ls --calc v200 --cable directlink", dir, ini);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(wrong.oneErrorLine()) << wrong.err;
}

}  // namespace
}  // namespace korvane
