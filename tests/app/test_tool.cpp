// korvane-tool as a script uses it: its output, its files and its exit status.
#include <gtest/gtest.h>

#include <random>

#include "files/Document.h"
#include "files/VariableFile.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"
#include "support/ToolRun.h"
#include "support/WorkedExample.h"

namespace korvane {
namespace {

using test::ScratchDir;
using test::ToolRun;

ToolRun tool(const std::string& arguments, const ScratchDir& dir) { return test::runTool(arguments, dir); }

std::string quoted(const std::string& s) { return "'" + s + "'"; }

TEST(KorvaneTool, PackWritesTheEditorsFiles) {
    ScratchDir dir;
    ScratchDir::write(dir.file("new.txt"), "\nPrgm\n\nEndPrgm");
    ASSERT_EQ(tool("pack " + quoted(dir.file("new.txt")) + " " + quoted(dir.file("new.89p")), dir).status, 0);
    const VariableFileInput program{kNewName, kNewFolder, newDocumentText(ProgramKind::Program), newDocumentHeader(),
                                    programTrailer()};
    EXPECT_EQ(ScratchDir::read(dir.file("new.89p")), buildVariableFile(program).bytes);
    EXPECT_EQ(ScratchDir::read(dir.file("new.89p")).size(), 116u);

    ScratchDir::write(dir.file("f.txt"), "\r\nFunc\r\n\r\nEndFunc");
    ASSERT_EQ(tool("pack --function --name 'abc(x)' --folder util " + quoted(dir.file("f.txt")) + " " +
                       quoted(dir.file("f.89f")), dir).status, 0);
    const Bytes f = ScratchDir::read(dir.file("f.89f"));
    EXPECT_EQ(f.substr(64, 8), Bytes("abc\0\0\0\0\0", 8));
    EXPECT_EQ(f.substr(10, 5), Bytes("util\0", 5));
    EXPECT_EQ(f.substr(88, 3), "(x)");
    EXPECT_EQ(f.substr(f.size() - 12), functionTrailer());

    // UTF-8 input goes through the character table: the store arrow is code 0x16.
    ScratchDir::write(dir.file("u.txt"), "\nPrgm\n1\xE2\x86\x92x\nEndPrgm");
    ASSERT_EQ(tool("pack " + quoted(dir.file("u.txt")) + " " + quoted(dir.file("u.89p")), dir).status, 0);
    EXPECT_NE(ScratchDir::read(dir.file("u.89p")).find("1\x16x"), std::string::npos);

    const ToolRun info = tool("info " + quoted(dir.file("f.89f")), dir);
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("name: abc\n"), std::string::npos);
    EXPECT_NE(info.out.find("folder: util\n"), std::string::npos);
    EXPECT_NE(info.out.find("arguments: (x)\n"), std::string::npos);
    EXPECT_NE(info.out.find("kind: function\n"), std::string::npos);
    EXPECT_NE(info.out.find("form: text\n"), std::string::npos);
}

TEST(KorvaneTool, ColourPrintsExactlyTheDocument) {
    ScratchDir dir;
    ScratchDir::write(dir.file("w.txt"), worked::kText);
    const ToolRun run = tool("colour " + quoted(dir.file("w.txt")), dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, worked::kDocument);
    EXPECT_NE(tool("colour " + quoted(dir.file("w.txt")) + " --size 14", dir).out.find("\\fs28 "), std::string::npos);
}

TEST(KorvaneTool, ConvertGivesTextSamplesBackByteForByte) {
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    ScratchDir dir;
    int converted = 0;
    for (const auto& path : samples::singleVariableFiles()) {
        const Bytes bytes = samples::bytesOf(path);
        if (!samples::isTextForm(bytes)) continue;
        const std::string out = dir.file("out" + path.extension().string());
        ASSERT_EQ(tool("convert " + quoted(path.string()) + " " + quoted(out), dir).status, 0) << path;
        EXPECT_EQ(ScratchDir::read(out), bytes) << path;
        ++converted;
    }
    EXPECT_EQ(converted, 8);
}

TEST(KorvaneTool, CanonicalConvertRewritesKeywordsAsTheEditorDoes) {
    ScratchDir dir;
    ScratchDir::write(dir.file("lower.txt"), "\nprgm\nif x then:disp x:endif\nendprgm");
    ASSERT_EQ(tool("pack " + quoted(dir.file("lower.txt")) + " " + quoted(dir.file("l.89p")), dir).status, 0);
    ASSERT_EQ(tool("convert --canonical " + quoted(dir.file("l.89p")) + " " + quoted(dir.file("c.89p")), dir).status, 0);
    const ToolRun text = tool("text " + quoted(dir.file("c.89p")), dir);
    EXPECT_EQ(text.out, "nouveau()\nPrgm\nIf x Then:Disp x:EndIf\nEndPrgm\n");
    ASSERT_EQ(tool("convert " + quoted(dir.file("l.89p")) + " " + quoted(dir.file("k.89p")), dir).status, 0);
    EXPECT_EQ(ScratchDir::read(dir.file("k.89p")), ScratchDir::read(dir.file("l.89p")));
}

TEST(KorvaneTool, BadInputGivesOneLineAndStatusOne) {
    ScratchDir dir;
    const VariableFileInput program{kNewName, kNewFolder, newDocumentText(ProgramKind::Program), newDocumentHeader(),
                                    programTrailer()};
    const Bytes good = buildVariableFile(program).bytes;
    ScratchDir::write(dir.file("truncated.89p"), good.substr(0, 60));
    std::mt19937 rng(3);
    Bytes junk(500, '\0');
    for (auto& b : junk) b = static_cast<char>(rng() % 40 + 1);  // no "(" at the start of the data
    junk[88] = 'x';
    ScratchDir::write(dir.file("random.89p"), junk);
    std::filesystem::create_directory(dir.file("folder.89p"));
    ScratchDir::write(dir.file("keep.89p"), "kept");

    // A real program cut short, and a file of random bytes: nothing is printed as if
    // it were a program, and no output file is written.
    std::vector<std::string> inputs{"truncated.89p", "random.89p", "folder.89p", "missing.89p", "noise.89p"};
    Bytes noise(4096, '\0');
    for (auto& b : noise) b = static_cast<char>(rng());
    noise.replace(0, 8, "**TI89**");
    ScratchDir::write(dir.file("noise.89p"), noise);
    const Bytes gears = samples::bytesOf(samples::folder() / "dapperfu__me452.gears.89p");
    if (gears.size() > 3000) {
        ScratchDir::write(dir.file("cut.89p"), gears.substr(0, 3000));
        inputs.push_back("cut.89p");
    }
    for (const std::string& in : inputs) {
        for (const std::string command : {"info ", "text ", "list ", "convert ", "export "}) {
            std::string args = command + quoted(dir.file(in));
            if (command == "convert " || command == "export ") args += " " + quoted(dir.file("out.89p"));
            const ToolRun run = tool(args, dir);
            EXPECT_EQ(run.status, 1) << args;
            EXPECT_EQ(run.out, "") << args;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args << ": " << run.err;
            EXPECT_FALSE(std::filesystem::exists(dir.file("out.89p"))) << args;
        }
    }

    ScratchDir::write(dir.file("huge.txt"), "\nPrgm\n" + std::string(70 * 1024, 'a') + "\nEndPrgm");
    const ToolRun huge = tool("pack " + quoted(dir.file("huge.txt")) + " " + quoted(dir.file("keep.89p")), dir);
    EXPECT_EQ(ScratchDir::read(dir.file("keep.89p")), "kept");
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(ScratchDir::read(dir.file("keep.89p")), "kept");

    EXPECT_EQ(tool("", dir).status, 2);
    EXPECT_EQ(tool("frobnicate x", dir).status, 2);
    EXPECT_EQ(tool("pack --bogus a b", dir).status, 2);
    EXPECT_EQ(tool("info", dir).status, 2);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

TEST(KorvaneTool, TokenizedFilesReadAndWrite) {
    ScratchDir dir;
    ScratchDir::write(dir.file("p.txt"), "\nPrgm\nLocal a\n1\xE2\x86\x92" "a\nDisp a+2\nEndPrgm");
    ASSERT_EQ(tool("pack --tokenize --name 'calc(x)' " + quoted(dir.file("p.txt")) + " " + quoted(dir.file("p.89p")), dir)
                  .status, 0);
    const Bytes tokenized = ScratchDir::read(dir.file("p.89p"));
    EXPECT_NE(tokenized[88], '(');  // no longer text
    const ToolRun info = tool("info " + quoted(dir.file("p.89p")), dir);
    EXPECT_NE(info.out.find("form: tokenized\n"), std::string::npos);
    EXPECT_NE(info.out.find("arguments: (x)\n"), std::string::npos);
    EXPECT_EQ(tool("text " + quoted(dir.file("p.89p")), dir).out,
              "calc(x)\nPrgm\nLocal a\n1\xE2\x86\x92" "a\nDisp a+2\nEndPrgm\n");

    // Back to the text form, and a text that does not parse writes nothing.
    ASSERT_EQ(tool("convert " + quoted(dir.file("p.89p")) + " " + quoted(dir.file("t.89p")), dir).status, 0);
    EXPECT_EQ(ScratchDir::read(dir.file("t.89p"))[88], '(');
    ScratchDir::write(dir.file("bad.txt"), "\nPrgm\nDisp (1+\nEndPrgm");
    const ToolRun bad = tool("pack --tokenize " + quoted(dir.file("bad.txt")) + " " + quoted(dir.file("bad.89p")), dir);
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("line"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.89p")));
}

TEST(KorvaneTool, TextOfEveryTokenizedSample) {
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    ScratchDir dir;
    int shown = 0;
    for (const auto& path : samples::singleVariableFiles()) {
        if (samples::isTextForm(samples::bytesOf(path))) continue;
        const ToolRun run = tool("text " + quoted(path.string()), dir);
        ASSERT_EQ(run.status, 0) << path << ": " << run.err;
        EXPECT_TRUE(run.out.ends_with("EndPrgm\n") || run.out.ends_with("EndFunc\n")) << path;
        ++shown;
    }
    EXPECT_EQ(shown, 20);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

TEST(KorvaneTool, CheckSaysOkOrTheFirstErrorWithItsLine) {
    test::ScratchDir dir;
    const auto pack = [&](const std::string& name, const std::string& body) {
        ScratchDir::write(dir.file(name + ".txt"), "\nPrgm\n" + body + "\nEndPrgm");
        const std::string file = dir.file(name + ".89p");
        EXPECT_EQ(tool("pack " + quoted(dir.file(name + ".txt")) + " " + quoted(file), dir).status, 0);
        return file;
    };
    const std::string good = pack("good", "Disp \"a\"\nPause \nFor i,1,3\nEndFor");
    const std::string bad = pack("bad", "Disp 1\nDisp 2\nDisp 3+\nDisp 4");
    const std::string empty = pack("empty", "");
    ToolRun ok = tool("check " + quoted(good) + " " + quoted(empty), dir);
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, good + ": ok\n" + empty + ": ok\n");
    // The third body line is the editor's fifth.
    ToolRun fails = tool("check " + quoted(good) + " " + quoted(bad), dir);
    EXPECT_EQ(fails.status, 1);
    EXPECT_EQ(fails.out.rfind(good + ": ok\n" + bad + ":5: ", 0), 0u) << fails.out;
    EXPECT_EQ(tool("check", dir).status, 2);
    EXPECT_EQ(tool("check " + quoted(dir.file("none.89p")), dir).status, 1);
}

TEST(KorvaneTool, ImportAndExportTheLinkSoftwaresText) {
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    test::ScratchDir dir;
    const std::string exported = (samples::folder() / "exports" / "dapperfu__me572.dh.TXT").string();
    const std::string sample = (samples::folder() / "dapperfu__me572.dh.89f").string();
    const std::string out = dir.file("dh.89f");
    ASSERT_EQ(tool("import " + quoted(exported) + " " + quoted(out) + " --tokenize", dir).status, 0);
    const ToolRun info = tool("info " + quoted(out), dir);
    EXPECT_NE(info.out.find("name: dh\nfolder: me572\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("kind: function\nform: tokenized"), std::string::npos) << info.out;
    EXPECT_EQ(tool("text " + quoted(out), dir).out, tool("text " + quoted(sample), dir).out);
    // Exported again, it reads back to the same program.
    const std::string again = dir.file("dh.TXT");
    ASSERT_EQ(tool("export " + quoted(out) + " " + quoted(again), dir).status, 0);
    EXPECT_EQ(ScratchDir::read(again).rfind("\\START92\\\r\n\\COMMENT=\r\n\\NAME=dh\r\n\\FILE=me572.dh.89f\r\n", 0), 0u);
    ASSERT_EQ(tool("import " + quoted(again) + " " + quoted(dir.file("dh2.89f")), dir).status, 0);
    EXPECT_EQ(tool("text " + quoted(dir.file("dh2.89f")), dir).out, tool("text " + quoted(sample), dir).out);
    // Not an export: one line and status 1.
    ScratchDir::write(dir.file("notes.txt"), "hello");
    const ToolRun refused = tool("import " + quoted(dir.file("notes.txt")) + " " + quoted(dir.file("x.89p")), dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("START92"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.89p")));
    EXPECT_NE(tool("--help", dir).out.find("import"), std::string::npos);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// The programs and functions of a group file, walked here apart from the reader:
// 16-byte entries from 0x3C, the type at +12.
int programsInTable(const Bytes& file) {
    const auto at = [&](size_t i) { return static_cast<unsigned char>(file[i]); };
    int count = 0;
    for (size_t k = 0; k < static_cast<size_t>(at(0x3A) | (at(0x3B) << 8)); ++k)
        if (at(0x3C + 16 * k + 12) == 0x12 || at(0x3C + 16 * k + 12) == 0x13) ++count;
    return count;
}

TEST(KorvaneTool, GroupFilesListEveryProgramAndTakeOneWithVar) {
    const auto more = samples::folder().parent_path() / "ti68k-more";
    if (!std::filesystem::is_directory(more)) GTEST_SKIP() << "../shared/ti68k-more is absent; group files skipped";
    ScratchDir dir;
    int groups = 0;
    for (const auto& entry : std::filesystem::directory_iterator(more)) {
        std::string ext = entry.path().extension().string();
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext != ".89g" && ext != ".92g" && ext != ".9xg" && ext != ".v2g") continue;
        ++groups;
        const ToolRun list = tool("list " + quoted(entry.path().string()), dir);
        EXPECT_EQ(list.status, 0) << entry.path();
        EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), programsInTable(samples::bytesOf(entry.path())))
            << entry.path() << list.out;
        // Without --var a group names its programs instead of picking one.
        const ToolRun text = tool("text " + quoted(entry.path().string()), dir);
        EXPECT_EQ(text.status, 1);
        EXPECT_NE(text.err.find("--var"), std::string::npos) << text.err;
    }
    EXPECT_EQ(groups, 3);

    // The CST 1.2.1 functions open with a comment holding line feeds: one line, ␊ for each.
    const std::string cst = (more / "loretoparisi__CST121.89G").string();
    const ToolRun azeros = tool("text " + quoted(cst) + " --var 'cst\\azeros'", dir);
    ASSERT_EQ(azeros.status, 0) << azeros.err;
    const size_t commentLine = azeros.out.find("\xC2\xA9");  // ©
    ASSERT_NE(commentLine, std::string::npos);
    const std::string comment = azeros.out.substr(commentLine, azeros.out.find('\n', commentLine) - commentLine);
    EXPECT_NE(comment.find("\xE2\x90\x8A"), std::string::npos) << comment;  // ␊
    EXPECT_NE(comment.find("Find all zeros"), std::string::npos) << comment;
    EXPECT_EQ(azeros.out.rfind("azeros(p,v)\nFunc\n", 0), 0u) << azeros.out;

    // The member converts to a single-variable file of its own folder and name.
    ASSERT_EQ(tool("convert --var 'cst\\azeros' " + quoted(cst) + " " + quoted(dir.file("azeros.89f")), dir).status, 0);
    const ToolRun info = tool("info " + quoted(dir.file("azeros.89f")), dir);
    EXPECT_NE(info.out.find("name: azeros\nfolder: cst\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("kind: function"), std::string::npos) << info.out;
    EXPECT_EQ(tool("--version", dir).status, 0);
}

}  // namespace
}  // namespace korvane
