// The program text file: its name and folder from the name line, else the file's name.
#include <gtest/gtest.h>

#include <string>

#include "files/FileFlows.h"
#include "files/ProgramTextFile.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

TEST(ProgramTextFile, NameAndFolderComeFromTheNameLineElseTheFileName) {
    EXPECT_TRUE(isProgramTextPath("/a/b/demo.68kb"));
    EXPECT_TRUE(isProgramTextPath("DEMO.68KB"));
    EXPECT_FALSE(isProgramTextPath("demo.89p"));
    EXPECT_FALSE(isProgramTextPath(".68kb"));

    // FOLDER\NAME(ARGS), UTF-8 with "\n" breaks: calculator codes and CR LF.
    ProgramText t = readProgramText("algebra\\dh(\xCE\xB8,d)\nFunc\nReturn \xCE\xB8\xE2\x86\x92x\nEndFunc\n", "x/other.68kb");
    ASSERT_TRUE(t.ok()) << t.error;
    EXPECT_EQ(t.folder, "algebra");
    EXPECT_EQ(t.nameField, "dh(\x88,d)");
    EXPECT_EQ(t.editorText, "\r\nFunc\r\nReturn \x88\x16x\r\nEndFunc");
    EXPECT_EQ(t.kind, ProgramKind::Function);
    EXPECT_TRUE(t.kindWritten);
    EXPECT_EQ(programTextFileOf(t.nameField, t.folder, t.editorText),
              "algebra\\dh(\xCE\xB8,d)\nFunc\nReturn \xCE\xB8\xE2\x86\x92x\nEndFunc\n");

    // NAME(ARGS) and CR LF breaks; a name line without arguments gets an empty list.
    t = readProgramText("demo(n)\r\nPrgm\r\nDisp n\r\nEndPrgm\r\n", "x.68kb");
    EXPECT_EQ(t.folder, "");
    EXPECT_EQ(t.nameField, "demo(n)");
    EXPECT_EQ(t.kind, ProgramKind::Program);
    EXPECT_EQ(readProgramText("demo\nPrgm\nEndPrgm\n", "x.68kb").nameField, "demo()");

    // No name line: the file's name, when the calculator takes it, else "nouveau".
    t = readProgramText("Prgm\nDisp 1\nEndPrgm\n", "/home/me/project/hello.68kb");
    EXPECT_EQ(t.nameField, "hello()");
    EXPECT_EQ(t.editorText, "\r\nPrgm\r\nDisp 1\r\nEndPrgm");
    EXPECT_EQ(readProgramText("\nPrgm\nEndPrgm\n", "a/b/my-program.68kb").nameField, "nouveau()");
    EXPECT_EQ(readProgramText("Func\nReturn 1\nEndFunc", "toolonganame.68kb").nameField, "nouveau()");
    EXPECT_EQ(readProgramText("func\nReturn 1\nEndFunc", "f.68kb").kind, ProgramKind::Function);

    // A character without a calculator code is refused with its place.
    t = readProgramText("demo()\nPrgm\nDisp \"\xE2\x98\x83\"\nEndPrgm\n", "x.68kb");
    EXPECT_FALSE(t.ok());
    EXPECT_NE(t.error.find('3'), std::string::npos) << t.error;
}

TEST(ProgramTextFile, TheEditorSavesItAsTextAndOpensItBack) {
    test::ScratchDir dir;
    const std::string path = dir.file("sq.68kb");
    const VariableFileInput input{"sq(x)", "algebra", "\r\nFunc\r\n Return x^2\r\nEndFunc", newDocumentHeader(),
                                  functionTrailer()};
    // Text whatever the form asked: the name line, the program, a final line break.
    ASSERT_EQ(saveProgramFile(input, path, true, Detokenizer()), "");
    EXPECT_EQ(test::ScratchDir::read(path), "algebra\\sq(x)\nFunc\n Return x^2\nEndFunc\n");
    const OpenedFile opened = readProgramTextFile(test::ScratchDir::read(path), path);
    ASSERT_TRUE(opened.ok()) << opened.reason;
    EXPECT_FALSE(opened.tokenized);
    EXPECT_EQ(opened.content.name, "sq");
    EXPECT_EQ(opened.content.arguments, "x");
    EXPECT_EQ(opened.content.folder, "algebra");
    EXPECT_EQ(editorTextOf(opened.content.programText), input.editorText);
    EXPECT_EQ(static_cast<unsigned char>(opened.content.header[0x48]), kFunctionTypeId);
    // Without a folder in the name line: "main"; a name the calculator refuses: a reason.
    EXPECT_EQ(readProgramTextFile("p()\nPrgm\nEndPrgm\n", "p.68kb").content.folder, "main");
    const OpenedFile refused = readProgramTextFile("much too long(x)\nPrgm\nEndPrgm\n", "p.68kb");
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.reason.empty());
    // A name refused on saving leaves no file.
    VariableFileInput wrong = input;
    wrong.nameField = "1sq(x)";
    EXPECT_NE(saveProgramFile(wrong, dir.file("wrong.68kb"), false, Detokenizer()), "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("wrong.68kb")));
}

}  // namespace
}  // namespace korvane
