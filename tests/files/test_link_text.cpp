// The TI link software's text exports: the escapes, the file's frame, and the 23
// exports of the reference samples read against the samples themselves.
#include <gtest/gtest.h>

#include "files/Detokenizer.h"
#include "files/Document.h"
#include "files/LinkText.h"
#include "files/SyntaxCheck.h"
#include "files/Tokens.h"
#include "support/Samples.h"

namespace korvane {
namespace {

TEST(LinkText, EscapesStandForTheCalculatorsCharacters) {
    EXPECT_EQ(unescapeLinkText("x\\->\\y"), "x\x16y");
    EXPECT_EQ(unescapeLinkText("\\(C)\\ \\theta\\ \\(-)\\1"), "\xA9 \x88 \xAD" "1");
    EXPECT_EQ(unescapeLinkText("mat\\to\\list(m)\\->\\\\alpha\\"), "mat\x12list(m)\x16\x80");
    EXPECT_EQ(unescapeLinkText("r\\t\\*p \\root\\(2) \\!=\\ \\<=\\ \\>=\\ \\o\\ \\^-1\\ \\mu\\"),
              "r\x99*p \xA8(2) \x9D \x9C \x9E \xB0 \xB4 \xB5");
    // A folder path keeps its backslash; so does one that opens nothing known.
    EXPECT_EQ(unescapeLinkText("ct\\poly2cof(ce,s)\\->\\p"), "ct\\poly2cof(ce,s)\x16p");
    EXPECT_EQ(unescapeLinkText("main\\prog\\"), "main\\prog\\");
    EXPECT_EQ(unescapeLinkText("a\\"), "a\\");
    // Written back: every named character escaped, the rest as it is.
    EXPECT_EQ(escapeLinkText("\x16\x88\xA9\xE9"), "\\->\\\\theta\\\\(C)\\\xE9");
    for (int c = 1; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        EXPECT_EQ(unescapeLinkText(escapeLinkText(one)), one) << c;
    }
}

TEST(LinkText, TheFrameIsReadAndWrittenAsTheLinkSoftwareDoes) {
    const std::string file =
        "\\START92\\\r\n\\COMMENT=\r\n\\NAME=dh\r\n\\FILE=me572.dh.89f\r\n(\\theta\\,d)\r\nFunc\r\n\r\nReturn  d\r\n"
        "EndFunc\r\n\r\n\\STOP92\\\r\n";
    const LinkTextResult r = readLinkText(file);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.text.name, "dh");
    EXPECT_EQ(r.text.file, "me572.dh.89f");
    EXPECT_EQ(r.text.program, "(\x88,d)\r\nFunc\r\n\r\nReturn  d\r\nEndFunc");
    EXPECT_EQ(writeLinkText(r.text), file);
    EXPECT_EQ(linkTextFolder("me572.dh.89f"), "me572");
    EXPECT_EQ(linkTextFolder("dh.89f"), "");

    const VariableFileInput d = documentOfLinkText(r.text, false);
    EXPECT_EQ(d.nameField, "dh(\x88,d)");
    EXPECT_EQ(d.folderField, "me572");
    EXPECT_EQ(d.editorText, "\r\nFunc\r\n\r\nReturn  d\r\nEndFunc");
    EXPECT_EQ(d.variableHeader.substr(0, 8), "**TI89**");

    // A name written with an escape names the variable with the calculator's character.
    const LinkTextResult theta = readLinkText("\\START92\\\r\n\\NAME=\\theta\\ab\r\n(x)\r\nFunc\r\nReturn x\r\nEndFunc\r\n\\STOP92\\\r\n");
    ASSERT_TRUE(theta.ok()) << theta.error;
    EXPECT_EQ(documentOfLinkText(theta.text, false).nameField, "\x88" "ab(x)");
    EXPECT_NE(writeLinkText(theta.text).find("\\NAME=\\theta\\ab\r\n"), std::string::npos);
    EXPECT_EQ(documentOfLinkText(r.text, true).variableHeader.substr(0, 8), "**TI92P*");

    // Not an export, or a cut one: a message, not a program.
    EXPECT_FALSE(readLinkText("").ok());
    EXPECT_FALSE(readLinkText("**TI89**\x01\x00").ok());
    EXPECT_FALSE(readLinkText("\\START92\\\r\n\\NAME=x\r\n()\r\nPrgm\r\n").ok());
    EXPECT_FALSE(readLinkText("\\START92\\\r\n\\NAME=x\r\n\r\n\\STOP92\\\r\n").ok());
    EXPECT_TRUE(readLinkText("\\START92\\\n\\NAME=x\n()\nPrgm\nEndPrgm\n\n\\STOP92\\\n").ok());
    EXPECT_FALSE(readLinkText("\\START92\\\n\n\r\\STOP92\\").ok());
    // A last empty line of the program survives writing and reading.
    LinkText trailing;
    trailing.program = ",\r\n";
    EXPECT_EQ(readLinkText(writeLinkText(trailing)).text.program, ",\r\n");
}

TEST(LinkText, Utf8ExportsReadThroughTheCharacterTableAndOthersAsTheLinkSoftwaresCodes) {
    // The same export saved by the link software (8-bit: é is code 0xE9) and again as UTF-8.
    const std::string eightBit = "\\START92\\\r\n\\NAME=temp\r\n()\r\nPrgm\r\nDisp \"Temp\xE9rature\"\r\nEndPrgm\r\n\r\n\\STOP92\\\r\n";
    const std::string utf8 = "\\START92\\\r\n\\NAME=temp\r\n()\r\nPrgm\r\nDisp \"Temp\xC3\xA9rature\"\r\nEndPrgm\r\n\r\n\\STOP92\\\r\n";
    const std::string program = "()\r\nPrgm\r\nDisp \"Temp\xE9rature\"\r\nEndPrgm";
    EXPECT_EQ(readLinkText(eightBit).text.program, program);
    EXPECT_EQ(readLinkText(utf8).text.program, program);
    EXPECT_EQ(readLinkText("\xEF\xBB\xBF" + utf8).text.program, program);
    // Codes that spell UTF-8 (Ã¡ is C3 A1, as á is in UTF-8) are written so that they read back as they were.
    LinkText spelled;
    spelled.name = "p";
    spelled.program = "()\r\nPrgm\r\nDisp \"\xC3\xA1\xE9\"\r\nEndPrgm";
    const LinkTextResult back = readLinkText(writeLinkText(spelled));
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.text.program, spelled.program);
    EXPECT_NE(writeLinkText(readLinkText(eightBit).text).find("Temp\xE9rature"), std::string::npos);  // 8-bit, as the link software writes
    // UTF-8 of the calculator's own signs, escapes beside them: θ, →, ⁻¹.
    const LinkTextResult signs = readLinkText(
        "\\START92\\\r\n\\NAME=\xCE\xB8s\r\n(x)\r\nFunc\r\nReturn x\xE2\x81\xBB\xC2\xB9\\->\\y\r\nEndFunc\r\n\\STOP92\\\r\n");
    ASSERT_TRUE(signs.ok()) << signs.error;
    EXPECT_EQ(signs.text.name, "\x88s");
    EXPECT_EQ(signs.text.program, "(x)\r\nFunc\r\nReturn x\xB4\x16y\r\nEndFunc");

    // A character that the calculator has no code for is named with its place.
    const LinkTextResult euro = readLinkText(
        "\\START92\\\r\n\\NAME=p\r\n()\r\nPrgm\r\nDisp \"5 \xE2\x82\xAC\"\r\nEndPrgm\r\n\\STOP92\\\r\n");
    EXPECT_FALSE(euro.ok());
    EXPECT_EQ(euro.error, "line 5, column 9: the character \xE2\x82\xAC (U+20AC) has no calculator code");

    // Outside text alone: ASCII and bytes that are not UTF-8 stay codes; line breaks become CR LF.
    EXPECT_EQ(readOutsideText("a\nb\rc\r\nd").text, "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(readOutsideText("\xC3\xA9t\xE9").text, "\xC3\xA9t\xE9");  // é then a lone 0xE9: not UTF-8
    EXPECT_EQ(readOutsideText("\xC0\xAF").text, "\xC0\xAF");          // an overlong "/" is no UTF-8
    EXPECT_EQ(readOutsideText("\xCF\x80r\xC2\xB2").text, "\x8Cr\xB2");  // πr²
    EXPECT_EQ(readOutsideText("a\n\xF0\x9F\x98\x80").error,
              "line 2, column 1: the character \xF0\x9F\x98\x80 (U+1F600) has no calculator code");
}

std::string withoutBlanks(std::string s) {
    std::string out;
    for (const char c : s)
        if (c != ' ' && c != '\n') out += c == '\r' ? '\n' : c;
    return out;
}

// The link software's export of each sample is the calculator's own reading of it.
TEST(LinkText, TheExportsOfTheSamplesImportToTheSamples) {
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    int tokenized = 0, tokenizedSame = 0, text = 0, textSame = 0, shown = 0, shownSame = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples::folder() / "exports")) {
        const std::string stem = entry.path().stem().string();
        std::filesystem::path sample;
        for (const char* ext : {".89p", ".89f"})
            if (std::filesystem::exists(samples::folder() / (stem + ext))) sample = samples::folder() / (stem + ext);
        ASSERT_FALSE(sample.empty()) << stem;
        SCOPED_TRACE(stem);
        const LinkTextResult r = readLinkText(samples::bytesOf(entry.path()));
        ASSERT_TRUE(r.ok()) << r.error;
        const Bytes original = samples::bytesOf(sample);
        const BuildResult built = buildVariableFile(documentOfLinkText(r.text, false));
        ASSERT_TRUE(built.ok()) << built.error;
        if (samples::isTextForm(original)) {
            ++text;
            const ParseResult a = parseVariableFile(original), b = parseVariableFile(built.bytes);
            EXPECT_EQ(b.content.programText, a.content.programText);
            textSame += b.content.programText == a.content.programText;
        } else {
            ++tokenized;
            const BuildResult t = tokenizeVariableFile(built.bytes);
            ASSERT_TRUE(t.ok()) << t.error;
            // The variable data, flags aside: the three bytes under the final tag.
            Bytes want = original.substr(kHeaderSize, original.size() - kHeaderSize - 2);
            Bytes got = t.bytes.substr(kHeaderSize, t.bytes.size() - kHeaderSize - 2);
            ASSERT_GE(want.size(), 4u);
            if (got.size() == want.size()) got.replace(got.size() - 4, 3, want.substr(want.size() - 4, 3));
            EXPECT_EQ(got, want);
            tokenizedSame += got == want;
        }
        // What Korvane shows of the sample is the export's program, blanks aside.
        ++shown;
        const DetokenizerAnswer printed = Detokenizer().ProgramText(sample.string());
        ASSERT_TRUE(printed.ok()) << printed.error;
        EXPECT_EQ(withoutBlanks(printed.value), withoutBlanks(r.text.program));
        shownSame += withoutBlanks(printed.value) == withoutBlanks(r.text.program);
    }
    EXPECT_EQ(tokenized, 15);
    EXPECT_EQ(text, 8);
    EXPECT_EQ(tokenizedSame, 15);
    EXPECT_EQ(textSame, 8);
    EXPECT_EQ(shownSame, shown);
    EXPECT_EQ(shown, 23);
}

TEST(SyntaxCheck, TheFirstErrorComesWithTheLineAsTheEditorCountsIt) {
    const auto document = [](const std::string& body) {
        return VariableFileInput{"prog()", "main", "\r\nPrgm\r\n" + body + "\r\nEndPrgm", newDocumentHeader(),
                                 trailerFor(ProgramKind::Program)};
    };
    EXPECT_TRUE(checkSyntax(document("Disp \"a\"\r\nPause \r\nFor i,1,3\r\nEndFor")).ok);
    // The third body line is the editor's fifth: the first line stands for the arguments.
    const SyntaxCheck bad = checkSyntax(document("Disp 1\r\nDisp 2\r\nDisp 3+\r\nDisp 4"));
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.line, 5);
    EXPECT_EQ(bad.message.rfind("line", 0), std::string::npos);
    EXPECT_FALSE(bad.message.empty());
    // The empty program is valid.
    EXPECT_TRUE(checkSyntax(document("")).ok);
    // An If ... Then left open names its own line.
    const SyntaxCheck open = checkSyntax(document("Disp 1\r\nIf x Then\r\nDisp 2"));
    EXPECT_EQ(open.line, 4);
    // Offsets of the editor's lines, to put the caret there.
    const std::string editor = "\r\nPrgm\r\nDisp 1\r\nEndPrgm";
    EXPECT_EQ(lineStartOffset(editor, 1), 0);
    EXPECT_EQ(lineStartOffset(editor, 2), 2);
    EXPECT_EQ(lineStartOffset(editor, 3), 8);
    EXPECT_EQ(lineStartOffset(editor, 9), static_cast<int>(editor.size()));
}

}  // namespace
}  // namespace korvane
