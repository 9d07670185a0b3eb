// korvane-tool as a script uses it: its output, its files and its exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <random>

#include "editor/CharTable.h"
#include "files/Document.h"
#include "files/Tokens.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"
#include "support/GroupFile.h"
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
    const std::string empty = pack("empty", "");
    // pack writes nothing the check refuses: the faulty program is written as the editor's text-form save does.
    const std::string bad = dir.file("bad.89p");
    ScratchDir::write(bad, buildVariableFile({kNewName, kNewFolder, "\r\nPrgm\r\nDisp 1\r\nDisp 2\r\nDisp 3+\r\nDisp 4\r\nEndPrgm",
                                              newDocumentHeader(), programTrailer()})
                               .bytes);
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

namespace korvane {
namespace {

std::string typeOf(const std::string& path) {
    const Bytes b = ScratchDir::read(path);
    return b.size() > 72 ? std::to_string(static_cast<unsigned char>(b[72])) : std::string();
}

TEST(KorvaneTool, PackTakesWhatTextPrints) {
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    ScratchDir dir;
    // A text-form function, a tokenized program with an argument, a group's member.
    const std::vector<std::string> sources = {
        quoted((samples::folder() / "dapperfu__me575.w_inv.89f").string()),
        quoted((samples::folder() / "dapperfu__statvars.block.89p").string()),
        quoted((samples::folder() / "tilibs__ti89_group.89g").string()) + " --var 'group\\prg'"};
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        const ToolRun shown = tool("text " + source, dir);
        ASSERT_EQ(shown.status, 0) << shown.err;
        ScratchDir::write(dir.file("t.txt"), shown.out);
        for (const std::string form : {"", "--tokenize "}) {
            const ToolRun packed = tool("pack " + form + quoted(dir.file("t.txt")) + " " + quoted(dir.file("p.89p")), dir);
            ASSERT_EQ(packed.status, 0) << packed.err;
            EXPECT_EQ(tool("text " + quoted(dir.file("p.89p")), dir).out, shown.out);
            EXPECT_EQ(tool("check " + quoted(dir.file("p.89p")), dir).status, 0);
            // Standard input, as in "korvane-tool text F | korvane-tool pack - OUT".
            ASSERT_EQ(tool("pack " + form + "- " + quoted(dir.file("s.89p")) + " < " + quoted(dir.file("t.txt")), dir).status, 0);
            EXPECT_EQ(ScratchDir::read(dir.file("s.89p")), ScratchDir::read(dir.file("p.89p")));
        }
    }

    // The calculator's bytes, as text --raw prints them, pack --raw back to the same program.
    const std::string azeros = quoted((samples::folder().parent_path() / "ti68k-more" / "loretoparisi__azeros.89f").string());
    const ToolRun raw = tool("text --raw " + azeros, dir);
    if (raw.status == 0) {
        ScratchDir::write(dir.file("raw.txt"), raw.out);
        ASSERT_EQ(tool("pack --raw " + quoted(dir.file("raw.txt")) + " " + quoted(dir.file("raw.89f")), dir).status, 0);
        EXPECT_EQ(tool("text --raw " + quoted(dir.file("raw.89f")), dir).out, raw.out);
    }

    // The name line says the name, its arguments and the folder; --name and --folder say more.
    ScratchDir::write(dir.file("n.txt"), "util\\area(w,h)\nFunc\nReturn w*h\nEndFunc\n");
    ASSERT_EQ(tool("pack " + quoted(dir.file("n.txt")) + " " + quoted(dir.file("n.89f")), dir).status, 0);
    ToolRun info = tool("info " + quoted(dir.file("n.89f")), dir);
    EXPECT_NE(info.out.find("name: area\nfolder: util\narguments: (w,h)\ntype: 0x13\nkind: function\n"), std::string::npos)
        << info.out;
    ASSERT_EQ(tool("pack --name surface --folder geo " + quoted(dir.file("n.txt")) + " " + quoted(dir.file("o.89f")), dir)
                  .status, 0);
    info = tool("info " + quoted(dir.file("o.89f")), dir);
    EXPECT_NE(info.out.find("name: surface\nfolder: geo\narguments: (w,h)\n"), std::string::npos) << info.out;

    // A function packed by --function, text form or tokenized, is of the functions' type, as the calculator's are.
    ScratchDir::write(dir.file("f.txt"), "\nFunc\nReturn 1\nEndFunc");
    for (const std::string form : {"", "--tokenize "}) {
        ASSERT_EQ(tool("pack --function " + form + quoted(dir.file("f.txt")) + " " + quoted(dir.file("f.89f")), dir).status, 0);
        EXPECT_EQ(typeOf(dir.file("f.89f")), "19") << form;
    }
    ASSERT_EQ(tool("pack " + quoted(dir.file("n.txt")) + " " + quoted(dir.file("n.89p")), dir).status, 0);
    EXPECT_EQ(typeOf(dir.file("n.89p")), "19");
}

TEST(KorvaneTool, PackAndImportTakeTheSignatureOfTheExtension) {
    ScratchDir dir;
    ScratchDir::write(dir.file("p.txt"), "prog()\nPrgm\nDisp 1\nEndPrgm\n");
    for (const auto& [extension, signature] : std::vector<std::pair<std::string, std::string>>{
             {".89p", "**TI89**"}, {".92p", "**TI92P*"}, {".9xp", "**TI92P*"}, {".V2P", "**TI92P*"}}) {
        const std::string out = dir.file("p" + extension);
        ASSERT_EQ(tool("pack " + quoted(dir.file("p.txt")) + " " + quoted(out), dir).status, 0) << extension;
        EXPECT_EQ(ScratchDir::read(out).substr(0, 8), signature) << extension;
    }
    ScratchDir::write(dir.file("f.TXT"), "\\START92\\\r\n\\NAME=sq\r\n\\FILE=main.sq.89f\r\n(x)\r\nFunc\r\nReturn x^2\r\n"
                                         "EndFunc\r\n\r\n\\STOP92\\\r\n");
    for (const auto& [extension, signature] : std::vector<std::pair<std::string, std::string>>{
             {".89f", "**TI89**"}, {".92f", "**TI92P*"}, {".v2f", "**TI92P*"}}) {
        for (const std::string form : {"", " --tokenize"}) {
            const std::string out = dir.file("f" + extension);
            ASSERT_EQ(tool("import " + quoted(dir.file("f.TXT")) + " " + quoted(out) + form, dir).status, 0);
            EXPECT_EQ(ScratchDir::read(out).substr(0, 8), signature) << extension << form;
            EXPECT_EQ(typeOf(out), "19") << extension << form;
        }
    }
}

TEST(KorvaneTool, PackRefusesWhatItsOwnTextOrCheckWouldRefuse) {
    ScratchDir dir;
    const auto refused = [&](const std::string& text, const std::string& options, const std::string& expected) {
        ScratchDir::write(dir.file("in.txt"), text);
        const ToolRun run = tool("pack " + options + quoted(dir.file("in.txt")) + " " + quoted(dir.file("out.89p")), dir);
        EXPECT_EQ(run.status, 1) << text;
        EXPECT_TRUE(run.oneErrorLine()) << run.err;
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.89p"))) << text;
    };
    refused("prog()\nPrgm\nDisp 1\nDisp 2+\nEndPrgm\n", "", ":4: ");      // the check's line, counted as text prints it
    refused("prog()\nPrgm\nDisp \"5 \xE2\x82\xAC\"\nEndPrgm\n", "", "line 3, column 9");  // no calculator code for €
    refused("prog(\nPrgm\nEndPrgm\n", "", "in.txt: ");                    // no ")": text could not read it
    refused("\nPrgm\nDisp 1\nEndPrgm", "--function ", "");                 // a function's file holding Prgm
    refused("prog()\nPrgm\nDisp 1\n", "", "");                            // no EndPrgm
    refused("\nPrgm\nEndPrgm", "--name '\xCE\xB8\xE2\x82\xAC' ", "--name: line 1, column 2");  // θ€: € has no code

    // Bytes that are not UTF-8 are the link software's codes: 0xE9 is é.
    ScratchDir::write(dir.file("latin.txt"), "prog()\nPrgm\nDisp \"\xE9t\xE9\"\nEndPrgm\n");
    ASSERT_EQ(tool("pack " + quoted(dir.file("latin.txt")) + " " + quoted(dir.file("l.89p")), dir).status, 0);
    EXPECT_NE(ScratchDir::read(dir.file("l.89p")).find("Disp \"\xE9t\xE9\""), std::string::npos);
    EXPECT_EQ(tool("text " + quoted(dir.file("l.89p")), dir).out, "prog()\nPrgm\nDisp \"\xC3\xA9t\xC3\xA9\"\nEndPrgm\n");
}

TEST(KorvaneTool, ImportAndCheckTakeAnExportSavedAgainAsUtf8) {
    ScratchDir dir;
    const std::string body = "\\START92\\\r\n\\NAME=temp\r\n()\r\nPrgm\r\nDisp \"Temp\xC3\xA9rature\"\r\nEndPrgm\r\n\r\n\\STOP92\\\r\n";
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        ScratchDir::write(dir.file("t.TXT"), bom + body);
        EXPECT_EQ(tool("check " + quoted(dir.file("t.TXT")), dir).status, 0) << bom.size();
        ASSERT_EQ(tool("import " + quoted(dir.file("t.TXT")) + " " + quoted(dir.file("t.89p")), dir).status, 0);
        EXPECT_NE(ScratchDir::read(dir.file("t.89p")).find("Disp \"Temp\xE9rature\""), std::string::npos);
        EXPECT_EQ(tool("text " + quoted(dir.file("t.89p")), dir).out, "temp()\nPrgm\nDisp \"Temp\xC3\xA9rature\"\nEndPrgm\n");
    }
}

TEST(KorvaneTool, ExportOfAGroupMemberNamesItsOwnSingleFile) {
    ScratchDir dir;
    const Bytes square("\xE9\x02\x01\x1F\x08\x93\xE5\x08\x00\x00\x00\xDC", 12);
    ScratchDir::write(dir.file("g.92g"), test::groupFile({{"group", 0x1F, {}, 2},
                                                          {"f", 0x13, square},
                                                          {"prg", 0x12, test::textProgramData("", "\rPrgm\r\rEndPrgm")}}));
    ASSERT_EQ(tool("export " + quoted(dir.file("g.92g")) + " " + quoted(dir.file("f.TXT")) + " --var 'group\\f'", dir).status, 0);
    EXPECT_NE(ScratchDir::read(dir.file("f.TXT")).find("\\FILE=group.f.92f\r\n"), std::string::npos);
    ASSERT_EQ(tool("export " + quoted(dir.file("g.92g")) + " " + quoted(dir.file("p.TXT")) + " --var prg", dir).status, 0);
    EXPECT_NE(ScratchDir::read(dir.file("p.TXT")).find("\\FILE=group.prg.92p\r\n"), std::string::npos);

    // Converted onto the group itself, the member would replace the whole group: refused, the group kept.
    const Bytes group = ScratchDir::read(dir.file("g.92g"));
    for (const std::string form : {"", "--tokenize "}) {
        const ToolRun over = tool("convert " + form + "--var prg " + quoted(dir.file("g.92g")) + " " +
                                      quoted(dir.path().string() + "/./g.92g"), dir);
        EXPECT_EQ(over.status, 1) << form;
        EXPECT_TRUE(over.oneErrorLine()) << over.err;
        EXPECT_EQ(ScratchDir::read(dir.file("g.92g")), group) << form;
    }
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// Positions where rebuilt tokens may differ from the calculator's: the three flag
// bytes under the final tag, and the displacement of an Exit or a Cycle that the
// calculator leaves 0 until the program first runs.
bool sameTokens(const Bytes& original, const Bytes& rebuilt) {
    if (original.size() != rebuilt.size() || original.size() < 4) return false;
    for (size_t i = 0; i < original.size(); ++i) {
        if (original[i] == rebuilt[i] || (i + 4 >= original.size() && i + 1 < original.size())) continue;
        const auto displacement = [&](size_t at) {
            return at + 3 < original.size() && original[at] == 0 && original[at + 1] == 0 &&
                   (original[at + 2] == '\x16' || original[at + 2] == '\x07') && original[at + 3] == '\xE4';
        };
        if (displacement(i) || (i > 0 && displacement(i - 1))) continue;
        return false;
    }
    return true;
}

// Every program and function of the shared real files, single files and group
// members alike, through convert to the text form and to the tokenized form and
// back: `text` shows the same program each time, and tokenized again it is the
// calculator's own tokens.
TEST(KorvaneTool, EveryRealFileConvertsBothWaysAndBack) {
    const auto more = samples::folder().parent_path() / "ti68k-more";
    if (!samples::available() || !std::filesystem::is_directory(more))
        GTEST_SKIP() << "the shared folders of real files are absent; the real files' round trips skipped";
    ScratchDir dir;
    std::vector<std::filesystem::path> files;
    for (const auto& folder : {samples::folder(), more})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    int members = 0, tokenized = 0;
    std::vector<std::string> failures, oneExpressionFunctions;
    for (const auto& path : files) {
        const VariableTable table = readVariableTable(samples::bytesOf(path));
        if (!table.ok()) {
            failures.push_back(path.filename().string() + ": " + table.error);
            continue;
        }
        std::string family = path.extension().string().substr(0, 3);
        for (char& c : family) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const TableEntry* e : table.programs()) {
            ++members;
            const std::string var = " --var " + quoted(calcToUtf8(e->qualifiedName()));
            const std::string where = path.filename().string() + ":" + calcToUtf8(e->qualifiedName());
            const std::string ext = family + (e->type == kFunctionTypeId ? "f" : "p");
            const std::string source = quoted(path.string()) + var;
            const auto fail = [&](const std::string& what) { failures.push_back(where + ": " + what); };
            const ToolRun shown = tool("text " + source, dir);
            if (shown.status != 0) {
                fail("text: " + shown.err);
                continue;
            }
            const std::string text = dir.file("a" + ext), tokens = dir.file("b" + ext), back = dir.file("c" + ext),
                              again = dir.file("d" + ext);
            ToolRun run = tool("convert " + source + " " + quoted(text), dir);
            if (run.status != 0) fail("convert: " + run.err);
            else if (tool("text " + quoted(text), dir).out != shown.out) fail("the text form shows another program");
            run = tool("convert --tokenize " + source + " " + quoted(tokens), dir);
            if (run.status != 0) {
                fail("convert --tokenize: " + run.err);
                continue;
            }
            // A text-form original shows as the calculator prints its tokens (keywords, numbers, brackets).
            const std::string shownTokens = tool("text " + quoted(tokens), dir).out;
            const Bytes tokenData = ScratchDir::read(tokens);
            run = tool("convert " + quoted(tokens) + " " + quoted(back), dir);
            if (run.status != 0) fail("convert back: " + run.err);
            else if (tool("text " + quoted(back), dir).out != shownTokens) fail("converted back, it shows another program");
            // The text form has no room for the one-expression form (f(x)=x^2 without Func ... EndFunc): tokenized
            // from the text form, such a function takes the Func ... EndFunc form, as on the calculator's editor.
            run = tool("convert --tokenize " + quoted(text) + " " + quoted(again), dir);
            const bool oneExpression = !isTextForm(e->data) && detokenize(e->data).oneExpression;
            if (run.status != 0) fail("the text form does not tokenize: " + run.err);
            else if (oneExpression) oneExpressionFunctions.push_back(where);
            else if (ScratchDir::read(again) != tokenData) fail("its text form tokenizes to other tokens");
            if (isTextForm(e->data)) continue;
            ++tokenized;
            if (shownTokens != shown.out) fail("the tokenized form shows another program");
            const VariableTable rebuilt = readVariableTable(tokenData);
            if (!rebuilt.ok() || rebuilt.variables.size() != 1 || !sameTokens(e->data, rebuilt.variables[0].data))
                fail("tokenized again, its tokens are not the calculator's");
        }
    }
    std::string all;
    for (const std::string& f : failures) all += "  " + f + "\n";
    for (const std::string& f : oneExpressionFunctions)
        std::cout << f << ": one-expression function, Func ... EndFunc once tokenized from its text form\n";
    EXPECT_LE(oneExpressionFunctions.size(), 2u);
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << members << " failed:\n" << all;
    EXPECT_GT(members, 160);
    EXPECT_GT(tokenized, 140);
}

}  // namespace
}  // namespace korvane
