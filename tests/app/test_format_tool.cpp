// korvane-tool format: a program re-indented in its own file and form, and the
// round trip of a project kept as text (text, format, pack).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/CharTable.h"
#include "files/TokenTable.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"
#include "support/ToolRun.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using test::ToolRun;

ToolRun tool(const std::string& arguments, const ScratchDir& dir) { return test::runTool(arguments, dir); }

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Two tokenizations of one program differ only in the bytes under the line break
// tags (E8), each the next line's count of leading spaces.
bool sameTokensButIndents(const Bytes& a, const Bytes& b, int& changed) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        if (i + 1 >= a.size() || static_cast<unsigned char>(a[i + 1]) != tokens::kNewLine ||
            static_cast<unsigned char>(b[i + 1]) != tokens::kNewLine)
            return false;
        ++changed;
    }
    return true;
}

Bytes dataOf(const std::string& file) {
    const VariableTable table = readVariableTable(ScratchDir::read(file));
    return table.ok() && table.programs().size() == 1 ? table.programs()[0]->data : Bytes();
}

TEST(KorvaneToolFormat, EveryRealProgramAsTextFormatsToTheSameTokens) {
    const fs::path more = samples::folder().parent_path() / "ti68k-more";
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    ScratchDir dir;
    std::vector<fs::path> files;
    for (const fs::path& folder : {samples::folder(), more})
        if (fs::is_directory(folder))
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    int programs = 0, changed = 0;
    std::vector<std::string> failures;
    const std::string text = dir.file("p.68kb"), plain = dir.file("plain.89p"), packed = dir.file("packed.89p");
    for (const fs::path& path : files) {
        const VariableTable table = readVariableTable(samples::bytesOf(path));
        ASSERT_TRUE(table.ok()) << path;
        for (const TableEntry* e : table.programs()) {
            const std::string where = path.filename().string() + ":" + calcToUtf8(e->qualifiedName());
            const ToolRun shown = tool("text " + quoted(path.string()) + " --var " + quoted(calcToUtf8(e->qualifiedName())), dir);
            ASSERT_EQ(shown.status, 0) << where << shown.err;
            ScratchDir::write(text, shown.out);
            if (tool("pack --tokenize " + quoted(text) + " " + quoted(plain), dir).status != 0) continue;  // refused as it stands
            ++programs;
            const ToolRun formatted = tool("format " + quoted(text), dir);
            const std::string once = ScratchDir::read(text);
            const ToolRun again = tool("format " + quoted(text), dir);
            const ToolRun check = tool("format --check " + quoted(text), dir);
            const ToolRun pack = tool("pack --tokenize " + quoted(text) + " " + quoted(packed), dir);
            if (formatted.status != 0 || again.status != 0 || pack.status != 0)
                failures.push_back(where + ": " + formatted.err + again.err + pack.err);
            else if (ScratchDir::read(text) != once || check.status != 0)
                failures.push_back(where + ": formatting twice is not formatting once");
            else if (!sameTokensButIndents(dataOf(plain), dataOf(packed), changed))
                failures.push_back(where + ": formatted, its tokens are others");
        }
    }
    std::string all;
    for (const std::string& f : failures) all += "  " + f + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " failures:\n" << all;
    EXPECT_GT(programs, 100);
    EXPECT_GT(changed, 500);
}

TEST(KorvaneToolFormat, FilesAreFormattedInPlaceInTheirOwnForm) {
    ScratchDir dir;
    // A program text file: only leading spaces change, its UTF-8 and line breaks stay.
    const std::string text = dir.file("demo.68kb");
    const std::string flat = "main\\demo(n)\r\nPrgm\r\nFor i,1,n\r\n If i=2 Then\r\nDisp \"θ→x\"\r\nEndIf\r\nEndFor\r\nEndPrgm\r\n";
    ScratchDir::write(text, flat);
    ToolRun run = tool("format --check " + quoted(text), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, text + ": not indented by its blocks\n");
    EXPECT_EQ(ScratchDir::read(text), flat);
    EXPECT_EQ(tool("format --indent 2 " + quoted(text), dir).status, 0);
    EXPECT_EQ(ScratchDir::read(text),
              "main\\demo(n)\r\nPrgm\r\nFor i,1,n\r\n  If i=2 Then\r\n    Disp \"θ→x\"\r\n  EndIf\r\nEndFor\r\nEndPrgm\r\n");
    EXPECT_EQ(tool("format --check " + quoted(text), dir).status, 0);
    EXPECT_EQ(tool("format --check --indent 3 " + quoted(text), dir).status, 1);

    // The same program packed, in the text form and tokenized: the file keeps its form.
    ScratchDir::write(text, flat);
    for (const std::string option : {"", "--tokenize "}) {
        const std::string variable = dir.file("demo.89p");
        ASSERT_EQ(tool("pack " + option + quoted(text) + " " + quoted(variable), dir).status, 0);
        const Bytes before = ScratchDir::read(variable);
        EXPECT_EQ(tool("format --check " + quoted(variable), dir).status, 1);
        EXPECT_EQ(ScratchDir::read(variable), before);
        ASSERT_EQ(tool("format " + quoted(variable), dir).status, 0) << option;
        EXPECT_EQ(tool("text " + quoted(variable), dir).out,
                  "demo(n)\nPrgm\nFor i,1,n\n If i=2 Then\n  Disp \"θ→x\"\n EndIf\nEndFor\nEndPrgm\n");
        EXPECT_EQ(tool("check " + quoted(variable), dir).status, 0);
        EXPECT_EQ(isTextForm(dataOf(variable)), option.empty());
        EXPECT_EQ(ScratchDir::read(variable).size(), before.size() + (option.empty() ? 3 : 0));
    }

    // A real tokenized file whose table holds a folder entry: its bytes stay but the
    // indent bytes and the check sum after the data.
    const fs::path real = samples::folder().parent_path() / "ti68k-more" / "loretoparisi__gstep.89p";
    if (fs::exists(real)) {
        const std::string copy = dir.file("gstep.89p");
        const Bytes original = samples::bytesOf(real);
        ScratchDir::write(copy, original);
        ASSERT_EQ(tool("format --indent 2 " + quoted(copy), dir).status, 0);
        const Bytes formatted = ScratchDir::read(copy);
        ASSERT_EQ(formatted.size(), original.size());
        const VariableTable table = readVariableTable(original);
        const Bytes& data = table.programs()[0]->data;
        const size_t at = original.find(data);
        int indents = 0;
        for (size_t i = 0; i < original.size(); ++i) {
            if (original[i] == formatted[i]) continue;
            const bool checkSum = i == at + data.size() || i == at + data.size() + 1;
            const bool indent = i >= at && i + 1 < at + data.size() &&
                                static_cast<unsigned char>(original[i + 1]) == tokens::kNewLine;
            EXPECT_TRUE(checkSum || indent) << "byte " << i;
            indents += indent;
        }
        EXPECT_GT(indents, 20);
        unsigned sum = 0;
        for (size_t i = at - 2; i < at + data.size(); ++i) sum += static_cast<unsigned char>(formatted[i]);
        EXPECT_EQ(sum & 0xFFFF, static_cast<unsigned char>(formatted[at + data.size()]) +
                                    256u * static_cast<unsigned char>(formatted[at + data.size() + 1]));
        EXPECT_EQ(tool("check " + quoted(copy), dir).status, 0);
        EXPECT_NE(tool("text " + quoted(copy), dir).out.find("\n  If dim(x_)=0 Then\n    If ch_=1 Then\n      −6→errn_"),
                  std::string::npos);
    }

    // A real group file: every tokenized member is indented in place, a text-form
    // one gets its block anew, the blocks after it move; every other byte stays.
    const fs::path realGroup = samples::folder().parent_path() / "ti68k-more" / "loretoparisi__CST121.89G";
    if (fs::exists(realGroup)) {
        const std::string copy = dir.file("cst.89g");
        const Bytes original = samples::bytesOf(realGroup);
        ScratchDir::write(copy, original);
        EXPECT_EQ(tool("format --check --indent 2 " + quoted(copy), dir).status, 1);
        ASSERT_EQ(tool("format --indent 2 " + quoted(copy), dir).status, 0);
        EXPECT_EQ(tool("format --check --indent 2 " + quoted(copy), dir).status, 0);
        const Bytes formatted = ScratchDir::read(copy);
        const VariableTable before = readVariableTable(original);
        const VariableTable after = readVariableTable(formatted);
        ASSERT_TRUE(after.ok());
        ASSERT_EQ(after.variables.size(), before.variables.size());
        int changed = 0, members = 0;
        for (size_t k = 0; k < before.variables.size(); ++k) {
            const TableEntry& b = before.variables[k];
            EXPECT_EQ(after.variables[k].qualifiedName(), b.qualifiedName());
            if (isTextForm(b.data)) {
                Bytes withoutSpaces[2] = {b.data, after.variables[k].data};
                for (Bytes& d : withoutSpaces) d.erase(std::remove(d.begin(), d.end(), ' '), d.end());
                EXPECT_EQ(withoutSpaces[0], withoutSpaces[1]) << b.qualifiedName();
            } else {
                EXPECT_TRUE(sameTokensButIndents(b.data, after.variables[k].data, changed)) << b.qualifiedName();
            }
            if (!b.isProgramOrFunction()) continue;
            ++members;
            const std::string var = " --var " + quoted(calcToUtf8(b.qualifiedName()));
            EXPECT_EQ(tool("check " + quoted(copy) + var, dir).status, 0) << b.qualifiedName();
        }
        EXPECT_GT(members, 5);
        EXPECT_GT(changed, 100);
    }

    // Bad input: one line and status 1, the file untouched.
    ScratchDir::write(text, flat);
    run = tool("format --indent two " + quoted(text), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.oneErrorLine()) << run.err;
    EXPECT_EQ(ScratchDir::read(text), flat);
    run = tool("format " + quoted(dir.file("missing.68kb")), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.oneErrorLine()) << run.err;
}

TEST(KorvaneToolBuild, AFolderOfProgramTextFilesBecomesOneTokenizedGroup) {
    ScratchDir dir;
    const fs::path project = dir.path() / "project";
    fs::create_directories(project);
    const std::string demo = (project / "demo.68kb").string();
    ScratchDir::write(demo, "main\\demo(n)\nPrgm\nFor i,1,n\n Disp \"θ→x\"\nEndFor\nEndPrgm\n");
    ScratchDir::write((project / "sq.68kb").string(), "algebra\\sq(x)\nFunc\nReturn x^2\nEndFunc\n");
    ScratchDir::write((project / "hello.68kb").string(), "Prgm\nDisp \"hello\"\nEndPrgm\n");
    ScratchDir::write((project / "notes.txt").string(), "not a program");
    const std::string group = dir.file("out.89g");
    ToolRun run = tool("build " + quoted(project.string()) + " " + quoted(group), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const VariableTable table = readVariableTable(ScratchDir::read(group));
    ASSERT_TRUE(table.ok()) << table.error;
    EXPECT_EQ(table.signature, "**TI89**");
    ASSERT_EQ(table.variables.size(), 3u);
    // Each member holds the tokens that pack --tokenize gives its file alone.
    const std::vector<std::pair<std::string, std::string>> members = {
        {"main\\demo", "demo.68kb"}, {"algebra\\sq", "sq.68kb"}, {"main\\hello", "hello.68kb"}};
    for (const auto& [name, file] : members) {
        const TableEntry* e = table.find(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_FALSE(isTextForm(e->data)) << name;
        const std::string single = dir.file("single.89p");
        ASSERT_EQ(tool("pack --tokenize " + quoted((project / file).string()) + " " + quoted(single), dir).status, 0);
        EXPECT_EQ(e->data, dataOf(single)) << name;
    }
    EXPECT_EQ(table.find("algebra\\sq")->type, kFunctionTypeId);
    EXPECT_EQ(tool("text " + quoted(group) + " --var 'main\\hello'", dir).out, "hello()\nPrgm\nDisp \"hello\"\nEndPrgm\n");

    // text prints a program text file as it reads.
    EXPECT_EQ(tool("text " + quoted(demo), dir).out, ScratchDir::read(demo));
    // check takes it, its lines counted as written (the name line is line 1).
    EXPECT_EQ(tool("check " + quoted(demo), dir).out, demo + ": ok\n");
    const std::string wrong = dir.file("wrong.68kb");
    ScratchDir::write(wrong, "wrong()\nPrgm\nDisp 1\nFor i,1\nEndFor\nEndPrgm\n");
    run = tool("check " + quoted(wrong), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.rfind(wrong + ":4: ", 0), 0u) << run.out;

    // One program that the calculator refuses, or a name twice: nothing written.
    fs::remove(group);
    ScratchDir::write((project / "bad.68kb").string(), "bad()\nPrgm\nIf x Then\nEndPrgm\n");
    run = tool("build " + quoted(project.string()) + " " + quoted(group), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.oneErrorLine()) << run.err;
    EXPECT_NE(run.err.find("bad.68kb"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(group));
    ScratchDir::write((project / "bad.68kb").string(), "demo()\nPrgm\nEndPrgm\n");
    run = tool("build " + quoted(project.string()) + " " + quoted(group), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("main\\demo is named twice"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(group));
    run = tool("build " + quoted(project.string()) + " " + quoted(dir.file("out.89p")), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.oneErrorLine()) << run.err;
    run = tool("build " + quoted(dir.file("nothing")) + " " + quoted(group), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.oneErrorLine()) << run.err;

    // Another family's signature from the extension.
    fs::remove(project / "bad.68kb");
    ASSERT_EQ(tool("build " + quoted(project.string()) + " " + quoted(dir.file("out.9xg")), dir).status, 0);
    EXPECT_EQ(ScratchDir::read(dir.file("out.9xg")).substr(0, 8), "**TI92P*");
}

// The definition for Kate and the other KSyntaxHighlighting editors is generated
// from the colouring's keywords; the committed file is what the generator prints.
TEST(KorvaneToolSyntax, TheCommittedDefinitionIsUpToDateAndColoursARealProgram) {
    ScratchDir dir;
    const std::string committed = std::string(KORVANE_TESTDATA_DIR) + "/../../data/korvane-tibasic.xml";
    const ToolRun run = tool("syntax", dir);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, ScratchDir::read(committed)) << "run korvane-tool syntax > data/korvane-tibasic.xml";
    EXPECT_NE(run.out.find("<item>EndTBar</item>"), std::string::npos);
    EXPECT_NE(run.out.find("<item>Unarchiv</item>"), std::string::npos);
    EXPECT_NE(run.out.find("start=\"\xC2\xA9\""), std::string::npos);

    // Debian's command-line highlighter of the same library, where installed, takes
    // the definition from its folder and colours a real program with it.
    if (std::system("command -v kate-syntax-highlighter >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "kate-syntax-highlighter (libkf5syntaxhighlighting-tools) is not installed";
    const fs::path sample = samples::folder() / "sseng__sgsgeo.89p";
    if (!fs::exists(sample)) GTEST_SKIP() << samples::missingMessage();
    const fs::path syntaxFolder = dir.path() / "share" / "org.kde.syntax-highlighting" / "syntax";
    fs::create_directories(syntaxFolder);
    ScratchDir::write((syntaxFolder / "korvane-tibasic.xml").string(), run.out);
    const std::string program = dir.file("sgsgeo.68kb");
    ScratchDir::write(program, tool("text " + quoted(sample.string()), dir).out);
    const std::string html = dir.file("out.html");
    const std::string command = "XDG_DATA_DIRS=" + quoted((dir.path() / "share").string()) +
                                " kate-syntax-highlighter --output-format html --output " + quoted(html) + " " +
                                quoted(program) + " 2>" + quoted(dir.file("err.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << ScratchDir::read(dir.file("err.txt"));
    const std::string out = ScratchDir::read(html);
    // Blocks in the colouring's blue, instructions in its red-brown, comments in its green.
    EXPECT_NE(out.find("color:#0000ff;font-weight:bold;\">Custom</span>"), std::string::npos) << out.substr(0, 2000);
    // The calculator's own spelling of the block's end, as real files hold it.
    EXPECT_NE(out.find("color:#0000ff;font-weight:bold;\">EndCustm</span>"), std::string::npos);
    EXPECT_NE(out.find("color:#b46464;font-weight:bold;\">Title</span>"), std::string::npos);
    EXPECT_NE(out.find("color:#008200;\">\xC2\xA9" "PREPARATION</span>"), std::string::npos);
}

}  // namespace
}  // namespace korvane
