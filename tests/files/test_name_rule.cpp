// The calculator's rule for the names of the name and folder fields: a letter, then
// letters, digits or "_", eight characters at most. The check and both forms of save
// refuse any other, and nothing is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/CharTable.h"
#include "files/FileFlows.h"
#include "files/Messages.h"
#include "files/SyntaxCheck.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

VariableFileInput program(const std::string& nameField, const std::string& folderField) {
    return {nameField, folderField, "\r\nPrgm\r\nDisp 1\r\nEndPrgm", newDocumentHeader(), programTrailer()};
}

TEST(NameRule, TheNamesTheCalculatorTakes) {
    // Calculator codes: θ 0x88, α 0x80, β 0x81, µ 0xB5, é 0xE9, Ö 0xD6.
    for (const std::string name : {"a", "Abc", "x1_2", "abcdefgh", "z9", "\x88" "ab", "\x80\x81", "\xB5m",
                                   "\xE9t\xE9", "\xD6l_1"})
        EXPECT_TRUE(isCalculatorName(name)) << calcToUtf8(name);
}

TEST(NameRule, TheNamesItRefuses) {
    // π 0x8C, Σ 0x8E, × 0xD7, ℯ 0x96 and the arrow → 0x16 are no letters.
    for (const std::string name : {"", "9abc", "1", "_abc", "abcdefghi", "ab c", "a-b", "a.b", "main\\f", "\x8Cr",
                                   "a\x8E", "x\xD7y", "\x96x", "a\x16" "b", "\xE9t\xE9\xE9t\xE9\xE9t\xE9"})
        EXPECT_FALSE(isCalculatorName(name)) << calcToUtf8(name);
}

TEST(NameRule, TheCheckNamesTheRule) {
    const SyntaxCheck name = checkSyntax(program("9abc(a,b)", "main"));
    EXPECT_FALSE(name.ok);
    // Line 1 stands for the name field.
    EXPECT_EQ(name.line, 1);
    EXPECT_EQ(name.message,
              "\"9abc\" is not a variable name: a name starts with a letter and holds only letters, digits and _, "
              "at most 8 characters");
    EXPECT_FALSE(checkSyntax(program("abc-d()", "main")).ok);
    EXPECT_FALSE(checkSyntax(program("toolongname()", "main")).ok);
    EXPECT_TRUE(checkSyntax(program("abc9_(a,b)", "main")).ok);

    const SyntaxCheck folder = checkSyntax(program("abc(a,b)", "1main"));
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.line, 0);
    EXPECT_EQ(folder.message.rfind("\"1main\" is not a folder name: a name starts with a letter", 0), 0u)
        << folder.message;
    // An empty folder is the calculator's current one.
    EXPECT_TRUE(checkSyntax(program("abc()", "")).ok);

    setMessageLanguage(MessageLanguage::French);
    const SyntaxCheck french = checkSyntax(program("9abc(a,b)", "main"));
    setMessageLanguage(MessageLanguage::English);
    EXPECT_EQ(calcToUtf8(french.message),
              "\"9abc\" n'est pas un nom de variable : un nom commence par une lettre et ne contient que des "
              "lettres, des chiffres et _, 8 caract\u00e8res au plus");
}

TEST(NameRule, NeitherSaveWritesARefusedName) {
    ScratchDir dir;
    const Detokenizer detokenizer;
    for (const bool tokenized : {false, true}) {
        const std::string target = dir.file(tokenized ? "tokenized.89p" : "text.89p");
        const std::string error = saveProgramFile(program("9abc(a,b)", "main"), target, tokenized, detokenizer);
        EXPECT_NE(error.find("is not a variable name"), std::string::npos) << error;
        EXPECT_EQ(lineOfError(error), 1);
        EXPECT_FALSE(fs::exists(target));
        EXPECT_NE(saveProgramFile(program("abc()", "m-n"), target, tokenized, detokenizer), "");
        EXPECT_FALSE(fs::exists(target));

        // Over an existing file, the file stays as it was.
        ASSERT_EQ(saveProgramFile(program("abc()", "main"), target, tokenized, detokenizer), "");
        const Bytes before = ScratchDir::read(target);
        EXPECT_NE(saveProgramFile(program("_abc()", "main"), target, tokenized, detokenizer), "");
        EXPECT_EQ(ScratchDir::read(target), before);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace korvane
