// The program text file: its name and folder from the name line, else the file's name.
#include <gtest/gtest.h>

#include <string>

#include "files/ProgramTextFile.h"

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

}  // namespace
}  // namespace korvane
