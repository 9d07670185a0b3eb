#include <gtest/gtest.h>

#include <filesystem>

#include "editor/CharTable.h"
#include "files/FileFlows.h"
#include "support/GroupFile.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

bool isEmptyFolder(const fs::path& folder) { return fs::is_empty(folder); }

VariableFileInput programInput(const std::string& editorText) {
    return {"essai(a)", "main", editorText, newDocumentHeader(), programTrailer()};
}

TEST(FileFlows, TypeListPathBoxAndPattern) {
    const auto program = typeListItems(ProgramKind::Program);
    const auto function = typeListItems(ProgramKind::Function);
    ASSERT_EQ(program.size(), 5u);
    ASSERT_EQ(function.size(), 5u);
    EXPECT_EQ(extensionOfTypeItem(program[4]), ".68kb");
    EXPECT_EQ(extensionOfTypeItem(function[4]), ".68kb");
    EXPECT_TRUE(matchesPattern("demo.68KB", kBrowserPattern));
    EXPECT_TRUE(isOpenableFile("/a/demo.68kb"));
    EXPECT_FALSE(isOpenableFile("/a/demo.68k"));
    EXPECT_EQ(nameWithoutExtension("demo.68kb"), "demo");
    EXPECT_EQ(nameWithoutExtension("demo.89p"), "demo");
    EXPECT_EQ(program[0], "Format Ti-89 (*.89p)");
    EXPECT_EQ(function[1], "Format Ti-92 (*.92f)");
    EXPECT_EQ(extensionOfTypeItem(program[2]), ".9xp");
    EXPECT_EQ(extensionOfTypeItem(function[3]), ".v2f");
    // The TI-92 Plus and Voyage 200 types write their signature; the two first keep the header's.
    const Bytes header = newDocumentHeader();
    EXPECT_EQ(headerForTarget(header, "/a/b.v2p").substr(0, 8), "**TI92P*");
    EXPECT_EQ(headerForTarget(header, "/a/b.9XF").substr(0, 8), "**TI92P*");
    EXPECT_EQ(headerForTarget(header, "/a/b.92p"), header);
    EXPECT_EQ(headerForTarget(header, "/a/b.9xp").substr(8), header.substr(8));
    // A new file that korvane-tool writes takes the signature its extension implies.
    Bytes ti92Plus = header;
    ti92Plus.replace(0, 8, "**TI92P*");
    EXPECT_EQ(headerForTarget(header, "/a/b.92F", true), ti92Plus);
    EXPECT_EQ(headerForTarget(ti92Plus, "/a/b.89p", true), header);
    EXPECT_EQ(headerForTarget(ti92Plus, "/a/b.89p"), ti92Plus);
    EXPECT_EQ(headerForTarget(header, "/a/b.txt", true), header);
    EXPECT_EQ(headerForTarget(header, "", true), header);
    EXPECT_EQ(signatureForExtension("x.V2G"), "**TI92P*");
    EXPECT_EQ(signatureForExtension("x.89g"), "**TI89**");
    EXPECT_EQ(signatureForExtension("89p"), "");
    EXPECT_EQ(extensionOfTypeItem(program[0]), ".89p");
    EXPECT_EQ(extensionOfTypeItem(program[1]), ".92p");
    EXPECT_EQ(extensionOfTypeItem(function[0]), ".89f");
    EXPECT_EQ(extensionOfTypeItem(function[1]), ".92f");
    EXPECT_EQ(extensionOfTypeItem("Format"), "");

    EXPECT_EQ(nameWithoutExtension("geo.92p"), "geo");
    EXPECT_EQ(nameWithoutExtension("a.b.89p"), "a.b");
    EXPECT_EQ(nameWithoutExtension("ab"), "");
    EXPECT_EQ(joinBrowserPath("/home/u", "x.89p"), "/home/u/x.89p");
    EXPECT_EQ(joinBrowserPath("/", "x.89p"), "/x.89p");

    EXPECT_TRUE(matchesPattern("prog.89p", kBrowserPattern));
    EXPECT_TRUE(matchesPattern("PROG.92P", kBrowserPattern));
    for (const char* name : {"prog.89f", "p.9xp", "p.V2F", "group.89g", "g.9xg", "g.v2g", "g.92g"})
        EXPECT_TRUE(matchesPattern(name, kBrowserPattern)) << name;
    EXPECT_FALSE(matchesPattern("prog.89e", kBrowserPattern));
    EXPECT_FALSE(matchesPattern("prog.89pp", kBrowserPattern));
    EXPECT_FALSE(matchesPattern("prog.89", kBrowserPattern));
    EXPECT_TRUE(matchesPattern("a.89p", "x?z;*.89p"));
    EXPECT_TRUE(matchesPattern("xyz", "x?z;*.89p"));

    EXPECT_TRUE(needsSaveAsBrowser("", true));
    EXPECT_TRUE(needsSaveAsBrowser("/a.89p", false));
    EXPECT_FALSE(needsSaveAsBrowser("/a.89p", true));
}

TEST(FileFlows, CommandLineDropsAndTitle) {
    ScratchDir dir;
    const std::string capital = dir.file("PROG.89P");
    ScratchDir::write(capital, "x");

    EXPECT_EQ(commandLineFile("/tmp/a.89p"), std::optional<std::string>("/tmp/a.89p"));
    EXPECT_EQ(commandLineFile("/tmp/a.92p"), std::optional<std::string>("/tmp/a.92p"));
    EXPECT_EQ(commandLineFile("notes.txt"), std::nullopt);
    EXPECT_EQ(commandLineFile("/tmp/a.89f"), std::optional<std::string>("/tmp/a.89f"));
    EXPECT_EQ(commandLineFile("/tmp/g.v2g"), std::optional<std::string>("/tmp/g.v2g"));
    EXPECT_EQ(commandLineFile(capital), std::optional<std::string>(capital));  // any letter case
    EXPECT_EQ(commandLineFile("\"" + capital + "\""), std::optional<std::string>(capital));
    EXPECT_EQ(commandLineFile("\"" + dir.file("none.89p") + "\""), std::nullopt);  // "Erreur"

    for (const char* name : {"a.89p", "a.92p", "a.89f", "a.92f", "A.89F", "a.89g", "a.v2p"}) EXPECT_TRUE(isOpenableFile(name)) << name;
    for (const char* name : {"a.89e", "a.txt", "89p", ""}) EXPECT_FALSE(isOpenableFile(name)) << name;

    EXPECT_EQ(windowTitleFor(""), "Korvane");
    EXPECT_EQ(windowTitleFor("/home/u/geo.89p"), "Korvane - geo.89p");
}

TEST(FileFlows, EightCharacterNamesEndAtTheirField) {
    ScratchDir temp;
    const Detokenizer detokenizer;
    // A full comment follows the default folder, a full name the folder entry's name.
    const Bytes tokenizedSquare("\xE9\x02\x01\x1F\x08\x93\xE5\x08\x00\x00\x00\xDC", 12);  // f(x)=x^2
    const Bytes group = test::groupFile({{"statvars", 0x1F, {}, 2},
                                         {"summask8", 0x12, test::textProgramData("a", "\rPrgm\rDisp a\rEndPrgm")},
                                         {"squarefn", 0x13, tokenizedSquare},
                                         {"other", 0x12, test::textProgramData("", "\rPrgm\r\rEndPrgm")}},
                                        "defaults", "**TI89**", std::string(40, 'c'));
    const ProgramListing listing = listPrograms(group);
    ASSERT_TRUE(listing.ok()) << listing.error;
    ASSERT_EQ(listing.programs().size(), 3u);
    EXPECT_EQ(describeEntry(*listing.programs()[0]), "statvars\\summask8  program  text  35 bytes");
    EXPECT_EQ(listing.programs()[2]->qualifiedName(), "defaults\\other");
    EXPECT_EQ(listing.table.find("squarefn"), listing.programs()[1]);
    EXPECT_EQ(chooseProgram(listing.table, "statvars\\squarefn").entry, listing.programs()[1]);

    for (const std::string wanted : {"statvars\\summask8", "statvars\\squarefn"}) {
        const OpenedFile opened = openProgramData(listing.table, detokenizer, temp.path().string(), wanted);
        ASSERT_TRUE(opened.ok()) << opened.reason;
        EXPECT_EQ(opened.content.folder + "\\" + opened.content.name, wanted);
        EXPECT_FALSE(opened.wholeFile);
    }
    const OpenedFile other = openProgramData(listing.table, detokenizer, temp.path().string(), "other");
    EXPECT_EQ(other.content.folder, "defaults");

    // A single file whose folder fills its field and whose comment has no NUL.
    VariableFileInput input = programInput("\r\nPrgm\r\nDisp 1\r\nEndPrgm");
    input.folderField = "statvars";
    input.nameField = "blockxyz(data)";
    input.variableHeader.replace(layout::kComment, layout::kCommentSize, std::string(40, 'S'));
    const std::string single = temp.file("single.89p");
    ASSERT_EQ(writeVariableFile(input, single), "");
    const OpenedFile opened = openProgramFile(single, detokenizer, temp.path().string());
    ASSERT_TRUE(opened.ok()) << opened.reason;
    EXPECT_EQ(opened.content.folder, "statvars");
    EXPECT_EQ(nameFieldOf(opened.content), "blockxyz(data)");
    // Saved again, tokenized, the folder is still one the calculator takes.
    VariableFileInput again{nameFieldOf(opened.content), opened.content.folder, editorTextOf(opened.content.programText),
                            opened.content.header, opened.content.trailer};
    EXPECT_EQ(saveProgramFile(again, single, true, detokenizer), "");

    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    for (const char* name : {"dapperfu__statvars.block.89p", "dapperfu__statvars.matred.89f"}) {
        const OpenedFile real = openProgramFile((samples::folder() / name).string(), detokenizer, temp.path().string());
        ASSERT_TRUE(real.ok()) << name << ": " << real.reason;
        EXPECT_EQ(real.content.folder, "statvars") << name;
    }
}

TEST(FileFlows, AProgramBesideOtherVariablesIsNeverSavedOverTheirFile) {
    ScratchDir dir;
    const Detokenizer detokenizer;
    const Bytes list("\xE5\x01\x01\x1F\xD9", 5);  // {1}
    const Bytes square("\xE9\x02\x01\x1F\x08\x93\xE5\x08\x00\x00\x00\xDC", 12);
    const Bytes program = test::textProgramData("", "\rPrgm\rDisp 1\rEndPrgm");
    struct Case {
        const char* file;
        std::vector<test::GroupEntry> entries;
        bool wholeFile;
    };
    const std::vector<Case> cases = {
        {"beside-list.89g", {{"prog", 0x12, program}, {"data", 0x04, list}}, false},
        {"beside-function.89g", {{"main", 0x1F, {}, 2}, {"sq", 0x13, square}, {"prog", 0x12, program}}, false},
        {"list-first.89p", {{"data", 0x04, list}, {"prog", 0x12, program}}, false},
        // One variable after its folder entry: the file is this variable alone.
        {"folder-entry.89p", {{"main", 0x1F, {}, 1}, {"prog", 0x12, program}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.file(c.file);
        const Bytes before = test::groupFile(c.entries, "main");
        ScratchDir::write(path, before);
        const OpenedFile opened = openProgramFile(path, detokenizer, dir.path().string(), "prog");
        ASSERT_TRUE(opened.ok()) << opened.reason;
        EXPECT_EQ(opened.wholeFile, c.wholeFile);
        EXPECT_EQ(nameFieldOf(opened.content), "prog()");
    }
    // The tokenized member takes the same road through the temporary text file.
    ScratchDir::write(dir.file("tok.89g"), test::groupFile({{"sq", 0x13, square}, {"data", 0x04, list}}, "main"));
    const OpenedFile sq = openProgramFile(dir.file("tok.89g"), detokenizer, dir.path().string(), "sq");
    ASSERT_TRUE(sq.ok()) << sq.reason;
    EXPECT_TRUE(sq.tokenized);
    EXPECT_FALSE(sq.wholeFile);
}

TEST(FileFlows, AOneExpressionFunctionOpenedAndSavedKeepsItsForm) {
    ScratchDir dir;
    const Detokenizer detokenizer;
    // f(x)=x^2 as the calculator keeps it: 12 bytes of data, no Func ... EndFunc.
    const Bytes square("\xE9\x02\x01\x1F\x08\x93\xE5\x08\x00\x00\x00\xDC", 12);
    const std::string path = dir.file("f.89f");
    ScratchDir::write(path, test::groupFile({{"f", 0x13, square}}, "main"));
    const OpenedFile opened = openProgramFile(path, detokenizer, dir.path().string());
    ASSERT_TRUE(opened.ok()) << opened.reason;
    EXPECT_TRUE(opened.tokenized);
    EXPECT_TRUE(opened.oneExpression);
    EXPECT_TRUE(opened.wholeFile);
    const VariableFileInput input{nameFieldOf(opened.content), opened.content.folder,
                                  editorTextOf(opened.content.programText), opened.content.header,
                                  opened.content.trailer, opened.oneExpression};
    ASSERT_EQ(saveProgramFile(input, path, true, detokenizer), "");
    const VariableTable saved = readVariableTable(ScratchDir::read(path));
    ASSERT_TRUE(saved.ok()) << saved.error;
    ASSERT_EQ(saved.variables.size(), 1u);
    EXPECT_EQ(saved.variables[0].data.size(), 12u);
    EXPECT_EQ(saved.variables[0].data.substr(0, 8), square.substr(0, 8));

    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    const ProgramListing group = listPrograms(samples::bytesOf(samples::folder() / "tilibs__ti89_group.89g"));
    const OpenedFile real = openProgramData(group.table, detokenizer, dir.path().string(), "group\\f");
    ASSERT_TRUE(real.ok()) << real.reason;
    EXPECT_TRUE(real.oneExpression);
    const std::string single = dir.file("real.89f");
    ASSERT_EQ(saveProgramFile({nameFieldOf(real.content), real.content.folder, editorTextOf(real.content.programText),
                               real.content.header, real.content.trailer, real.oneExpression},
                              single, true, detokenizer),
              "");
    EXPECT_EQ(readVariableTable(ScratchDir::read(single)).variables.at(0).data.size(), 12u);
}

TEST(FileFlows, DamagedFilesAreRefusedWithTheirReasonAndNoTemporaryFileStays) {
    ScratchDir dir;
    ScratchDir temp;
    const Detokenizer detokenizer;
    const std::string good = dir.file("good.89p");
    ASSERT_EQ(writeVariableFile(programInput("\r\nPrgm\r\nDisp 1\r\nEndPrgm"), good), "");
    const Bytes bytes = ScratchDir::read(good);

    const std::string truncated = dir.file("truncated.89p");
    ScratchDir::write(truncated, bytes.substr(0, 50));
    OpenedFile r = openProgramFile(truncated, detokenizer, temp.path().string());
    EXPECT_EQ(r.failure, OpenedFile::Failure::Damaged);
    EXPECT_FALSE(r.reason.empty());

    // Text form without the ")" that closes the argument list.
    Bytes noParen = bytes;
    for (char& c : noParen)
        if (c == ')') c = 'x';
    const std::string foreign = dir.file("foreign.89p");
    ScratchDir::write(foreign, noParen);
    r = openProgramFile(foreign, detokenizer, temp.path().string());
    EXPECT_EQ(r.failure, OpenedFile::Failure::Damaged);
    EXPECT_NE(r.reason.find(")"), std::string::npos);

    EXPECT_EQ(openProgramFile(dir.file("missing.89p"), detokenizer, temp.path().string()).failure,
              OpenedFile::Failure::Damaged);
    EXPECT_EQ(openProgramFile(dir.path().string(), detokenizer, temp.path().string()).failure,
              OpenedFile::Failure::Damaged);

    const std::string huge = dir.file("huge.89p");
    {
        std::ofstream out(huge, std::ios::binary);
        out << bytes;
        out.seekp(kLargestReadableFile + 10);
        out << 'x';
    }
    r = openProgramFile(huge, detokenizer, temp.path().string());
    EXPECT_EQ(r.failure, OpenedFile::Failure::Damaged);
    EXPECT_NE(r.reason.find("too large"), std::string::npos);

    // Tokens that are no program: the detokenizer's road fails.
    Bytes garbage = bytes;
    for (size_t i = kHeaderSize; i + 2 < garbage.size(); ++i) garbage[i] = '\xFF';
    const std::string tokens = dir.file("tokens.89p");
    ScratchDir::write(tokens, garbage);
    r = openProgramFile(tokens, detokenizer, temp.path().string());
    EXPECT_EQ(r.failure, OpenedFile::Failure::Detokenization);

    // A tokenized program, but nowhere to put the temporary text.
    const std::string tokenized = dir.file("tok.89p");
    ASSERT_EQ(saveProgramFile(programInput("\r\nPrgm\r\nDisp 1\r\nEndPrgm"), tokenized, true, detokenizer), "");
    r = openProgramFile(tokenized, detokenizer, dir.file("no-such-folder"));
    EXPECT_EQ(r.failure, OpenedFile::Failure::Detokenization);
    EXPECT_NE(r.reason.find("temporary"), std::string::npos);
    EXPECT_TRUE(isEmptyFolder(temp.path()));
}

TEST(FileFlows, SavesTextFormOrTokenizedAndNeverHarmsTheOldFile) {
    ScratchDir dir;
    const Detokenizer detokenizer;
    const VariableFileInput input = programInput("\r\nPrgm\r\nLocal i\r\nFor i,1,3\r\nDisp i\r\nEndFor\r\nEndPrgm");

    const std::string text = dir.file("text.89p");
    ASSERT_EQ(saveProgramFile(input, text, false, detokenizer), "");
    EXPECT_EQ(ScratchDir::read(text), buildVariableFile(input).bytes);

    const std::string tokenized = dir.file("tok.92p");
    ASSERT_EQ(saveProgramFile(input, tokenized, true, detokenizer), "");
    const DetokenizerAnswer start = detokenizer.DataStart(tokenized);
    ASSERT_TRUE(start.ok());
    EXPECT_FALSE(isTextForm(start.value));
    const OpenedFile back = openProgramFile(tokenized, detokenizer, dir.path().string());
    ASSERT_TRUE(back.ok()) << back.reason;
    EXPECT_EQ(normaliseLineBreaks(back.content.programText), input.editorText);
    EXPECT_EQ(nameFieldOf(back.content), "essai(a)");
    EXPECT_EQ(back.content.folder, "main");

    // A program that does not parse: the parser's line, and the old file untouched.
    const Bytes before = ScratchDir::read(tokenized);
    const std::string error =
        saveProgramFile(programInput("\r\nPrgm\r\nDisp 1\r\nFor i,1\r\nEndPrgm"), tokenized, true, detokenizer);
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
    EXPECT_EQ(ScratchDir::read(tokenized), before);

    // A read-only file and a missing folder: a reason, and nothing lost.
    fs::permissions(text, fs::perms::owner_read | fs::perms::group_read);
    const Bytes old = ScratchDir::read(text);
    EXPECT_NE(saveProgramFile(programInput("\r\nPrgm\r\n\r\nEndPrgm"), text, false, detokenizer), "");
    EXPECT_EQ(ScratchDir::read(text), old);
    EXPECT_NE(saveProgramFile(input, dir.file("missing/x.89p"), true, detokenizer), "");
    EXPECT_FALSE(fs::exists(dir.file("missing")));

    const std::string message = saveFailureMessage("/a/b.89p", "Permission denied");
    EXPECT_EQ(message, "Cannot save the file\n/a/b.89p\nPermission denied");
    EXPECT_NE(openFailureMessage("/a/b.89p", "too short").find("/a/b.89p"), std::string::npos);
}

}  // namespace
}  // namespace korvane
