#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/Indent.h"
#include "files/TokenTable.h"
#include "files/Tokens.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

// Lines joined by the editor's CR LF.
std::string lines(std::initializer_list<std::string> parts) {
    std::string text;
    bool first = true;
    for (const std::string& p : parts) {
        if (!first) text += "\r\n";
        text += p;
        first = false;
    }
    return text;
}

TEST(Indent, EveryBlockIndentsItsLinesAndNothingElseChanges) {
    const std::string flat = lines({
        "",
        "Prgm",
        "\xA9 If a comment Then",
        "Local i,s",
        "   For i,1,3",
        "If i=1 Then",
        "Disp \":EndIf\"",
        "ElseIf i=2 Then",
        " While s<i:s+1\x16s:EndWhile",
        "Else",
        "Loop",
        "Exit",
        "EndLoop",
        "EndIf",
        "EndFor",
        "If s>2",
        "Then",
        "Disp s",
        "EndIf",
        "Try",
        "1/0\x16s",
        "else",
        "ClrErr",
        "endtry",
        "Define f(x)=Func",
        "Return x^2",
        "EndFunc",
        "If s=0:Disp \"one line\"",
        "Dialog",
        "Title \"T\"",
        "EndDlog",
        "Toolbar",
        "Title \"A\",l1",
        "EndTBar",
        "Custom",
        "Title \"B\"",
        "EndCustm",
        "  ",
        "If s=1 Then:Disp 1:EndIf",
        "Lbl l1",
        "EndPrgm",
    });
    const std::string expected = lines({
        "",
        "Prgm",
        "\xA9 If a comment Then",
        "Local i,s",
        "For i,1,3",
        "  If i=1 Then",
        "    Disp \":EndIf\"",
        "  ElseIf i=2 Then",
        "    While s<i:s+1\x16s:EndWhile",
        "  Else",
        "    Loop",
        "      Exit",
        "    EndLoop",
        "  EndIf",
        "EndFor",
        "If s>2",
        "Then",
        "  Disp s",
        "EndIf",
        "Try",
        "  1/0\x16s",
        "else",
        "  ClrErr",
        "endtry",
        "Define f(x)=Func",
        "  Return x^2",
        "EndFunc",
        "If s=0:Disp \"one line\"",
        "Dialog",
        "  Title \"T\"",
        "EndDlog",
        "Toolbar",
        "  Title \"A\",l1",
        "EndTBar",
        "Custom",
        "  Title \"B\"",
        "EndCustm",
        "",
        "If s=1 Then:Disp 1:EndIf",
        "Lbl l1",
        "EndPrgm",
    });
    EXPECT_EQ(indentProgram(flat, 2), expected);
    EXPECT_EQ(indentProgram(expected, 2), expected);
    EXPECT_EQ(indentStepOf(expected), 2);
    EXPECT_EQ(indentStepOf(flat), 1);
    EXPECT_EQ(indentStepOf(indentProgram(flat, 4)), 4);
    EXPECT_EQ(indentProgram(indentProgram(flat, 4), 0), indentProgram(flat, 0));

    // The menu's spelling of the end of a Custom block ends it too.
    EXPECT_EQ(indentProgram("Custom\r\nTitle \"A\"\r\nEndCustom\r\nx", 2), "Custom\r\n  Title \"A\"\r\nEndCustom\r\nx");

    // Line breaks stay as written: a lone CR, a final CR LF, a line feed inside a line.
    EXPECT_EQ(indentProgram("\rPrgm\rFor i,1,2\r\"a\nb\"\rEndFor\rEndPrgm\r\n", 1),
              "\rPrgm\rFor i,1,2\r \"a\nb\"\rEndFor\rEndPrgm\r\n");
    // A line feed starting a line after a lone CR keeps a space before it: without
    // it the two would be one CR LF line break.
    EXPECT_EQ(indentProgram("a\r \nb\rc", 2), "a\r \nb\rc");
    EXPECT_EQ(indentProgram("a\r\n \nb", 2), "a\r\n\nb");

    // Unbalanced ends and deep nesting stay within what a line break can hold.
    EXPECT_EQ(indentProgram("EndIf\r\nElse\r\n x", 3), "EndIf\r\nElse\r\nx");
    std::string deep;
    for (int k = 0; k < 100; ++k) deep += "Loop\r\n";
    const std::string deepIndented = indentProgram(deep + "x", 3);
    EXPECT_EQ(deepIndented.substr(deepIndented.rfind('\n') + 1), std::string(255, ' ') + "x");
}

TEST(Indent, TheCaretStaysOnItsCharacter) {
    const std::string text = "\r\nPrgm\r\nFor i,1,2\r\n      Disp i\r\nEndFor\r\nEndPrgm";
    const std::string indented = indentProgram(text, 2);
    ASSERT_EQ(indented, "\r\nPrgm\r\nFor i,1,2\r\n  Disp i\r\nEndFor\r\nEndPrgm");
    const int disp = static_cast<int>(text.find("Disp"));
    EXPECT_EQ(indentedPosition(text, indented, disp + 2), static_cast<int>(indented.find("Disp")) + 2);
    EXPECT_EQ(indentedPosition(text, indented, disp - 3), static_cast<int>(indented.find("Disp")));
    EXPECT_EQ(indentedPosition(text, indented, static_cast<int>(text.find("EndFor"))),
              static_cast<int>(indented.find("EndFor")));
    EXPECT_EQ(indentedPosition(text, indented, static_cast<int>(text.size())), static_cast<int>(indented.size()));
    EXPECT_EQ(indentedPosition(text, indented, 0), 0);
}

fs::path moreFolder() { return fs::path(KORVANE_SAMPLES_DIR).parent_path() / "ti68k-more"; }

std::vector<fs::path> calculatorFiles() {
    std::vector<fs::path> files;
    for (const fs::path& folder : {fs::path(KORVANE_SAMPLES_DIR), moreFolder()}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.is_regular_file() && e.path().extension() != ".md") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The tokens of two indentations of one program differ only in the byte that each
// line break tag (E8) stores under it: the next line's count of leading spaces.
bool sameTokensButIndents(const Bytes& a, const Bytes& b, int& indentBytesChanged) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        if (i + 1 >= a.size() || static_cast<unsigned char>(a[i + 1]) != tokens::kNewLine ||
            static_cast<unsigned char>(b[i + 1]) != tokens::kNewLine)
            return false;
        ++indentBytesChanged;
    }
    return true;
}

TEST(Indent, EveryRealProgramKeepsItsTokensAndIndentsOnce) {
    const std::vector<fs::path> files = calculatorFiles();
    if (files.empty()) GTEST_SKIP() << "the shared folders of real files are absent; real programs not indented";
    int programs = 0;
    int indentBytesChanged = 0;
    for (const fs::path& path : files) {
        Bytes file;
        readWholeFile(path.string(), file);
        const VariableTable table = readVariableTable(file);
        ASSERT_TRUE(table.ok()) << path;
        for (const TableEntry* e : table.programs()) {
            const std::string where = path.filename().string() + ":" + e->qualifiedName();
            std::string programText;
            if (isProgramText(e->data)) {
                const ParseResult read = parseVariableFile(singleVariableFile(table, *e));
                ASSERT_TRUE(read.ok()) << where;
                programText = "(" + read.content.arguments + ")" + read.content.programText;
            } else {
                const DetokenizeResult shown = detokenize(e->data);
                ASSERT_TRUE(shown.ok()) << where;
                programText = shown.text;
            }
            const std::string original = editorTextOf(programText);
            const TokenizeResult before = tokenize(original);
            if (!before.ok()) continue;  // a text-form program the calculator would refuse too
            ++programs;
            for (int step : {indentStepOf(original), 1, 3}) {
                const std::string indented = indentProgram(original, step);
                EXPECT_EQ(indentProgram(indented, step), indented) << where;
                EXPECT_EQ(std::count(indented.begin(), indented.end(), '\r'),
                          std::count(original.begin(), original.end(), '\r')) << where;
                const TokenizeResult after = tokenize(indented);
                ASSERT_TRUE(after.ok()) << where << ": " << after.error;
                EXPECT_TRUE(sameTokensButIndents(before.data, after.data, indentBytesChanged)) << where << " step " << step;
            }
        }
    }
    EXPECT_GT(programs, 150);
    EXPECT_GT(indentBytesChanged, 1000);
}

}  // namespace
}  // namespace korvane
