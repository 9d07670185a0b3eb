#include <gtest/gtest.h>

#include <random>

#include "editor/CharTable.h"
#include "files/Document.h"
#include "files/VariableFile.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

using test::ScratchDir;

Bytes hex(const std::string& text) {
    Bytes out;
    for (size_t i = 0; i + 1 < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
        i += 2;
    }
    return out;
}

VariableFileInput newDocument(ProgramKind kind) {
    return {kNewName, kNewFolder, newDocumentText(kind), newDocumentHeader(), trailerFor(kind)};
}

unsigned byteAt(const Bytes& b, size_t i) { return static_cast<unsigned char>(b[i]); }

TEST(VariableFile, NewProgramAndFunctionAreTheTemplateBytes) {
    const Bytes expected = hex(
        "2A 2A 54 49 38 39 2A 2A 01 00 6D 61 69 6E 00 00"
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "00 00 00 00 00 00 00 00 00 00 01 00 52 00 00 00"
        "6E 6F 75 76 65 61 75 00 12 00 00 00 74 00 00 00"
        "A5 5A 00 00 00 00 00 1A 28 29 0D 50 72 67 6D 0D"
        "0D 45 6E 64 50 72 67 6D 00 00 08 19 E4 E5 00 00"
        "08 DC A4 11");
    ASSERT_EQ(expected.size(), 116u);
    const auto program = buildVariableFile(newDocument(ProgramKind::Program));
    ASSERT_TRUE(program.ok()) << program.error;
    EXPECT_EQ(program.bytes, expected);

    const auto function = buildVariableFile(newDocument(ProgramKind::Function));
    ASSERT_TRUE(function.ok());
    ASSERT_EQ(function.bytes.size(), 116u);
    EXPECT_EQ(byteAt(function.bytes, 72), 0x12u);  // programs and functions share the type byte
    EXPECT_EQ(function.bytes.substr(88, 16), "()\rFunc\r\rEndFunc");
    EXPECT_EQ(function.bytes.substr(104), hex("00 00 05 17 E4 E5 00 00 08 DC 9F 0B"));
}

TEST(VariableFile, NameWithArgumentsAndSizesAroundByteBoundaries) {
    VariableFileInput doc = newDocument(ProgramKind::Program);
    doc.nameField = "abc(x)";
    const Bytes bytes = buildVariableFile(doc).bytes;
    EXPECT_EQ(bytes.substr(64, 8), Bytes("abc\0\0\0\0\0", 8));
    EXPECT_EQ(bytes.substr(88, 3), "(x)");

    // The file is 88 header bytes, "()", the text without line feeds and 12 trailer bytes.
    for (const auto& [size, fileField, varSize] :
         {std::tuple{255, "FF 00", 165}, std::tuple{256, "00 01", 166}, std::tuple{511, "FF 01", 421}}) {
        VariableFileInput sized = newDocument(ProgramKind::Program);
        sized.editorText = "\r\n" + std::string(size - 88 - 2 - 12 - 1, 'x');
        const Bytes file = buildVariableFile(sized).bytes;
        ASSERT_EQ(file.size(), static_cast<size_t>(size));
        EXPECT_EQ(file.substr(76, 4), hex(fileField) + Bytes(2, '\0'));
        EXPECT_EQ((byteAt(file, 86) << 8) | byteAt(file, 87), static_cast<unsigned>(varSize));
    }
}

TEST(VariableFile, ReadingBackKeepsHeaderTrailerAndCrOnlyLines) {
    ScratchDir dir;
    Bytes header = newDocumentHeader();
    header.replace(18, 12, "hand comment");
    header[72] = 0x13;
    header[73] = 0x01;
    header[78] = 0x07;  // upper half of the file size: kept as it was
    const VariableFileInput doc{"gauss(a,b)", "me572", "\r\nPrgm\r\nDisp a\xA9 b\r\nEndPrgm", header, functionTrailer()};
    const std::string path = dir.file("gauss.92p");
    ASSERT_EQ(writeVariableFile(doc, path), "");

    const ParseResult read = readVariableFile(path);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.content.name, "gauss");
    EXPECT_EQ(read.content.folder, "me572");
    EXPECT_EQ(read.content.arguments, "a,b");
    EXPECT_EQ(read.content.programText, "\rPrgm\rDisp a\xA9 b\rEndPrgm");
    EXPECT_EQ(read.content.trailer, functionTrailer());
    EXPECT_EQ(ScratchDir::read(path).substr(0, 8), "**TI89**");

    // Written again unchanged: only the name, folder and size fields are rewritten.
    const VariableFileInput again{read.content.name + "(" + read.content.arguments + ")", read.content.folder,
                                  normaliseLineBreaks(read.content.programText), read.content.header,
                                  read.content.trailer};
    const Bytes second = buildVariableFile(again).bytes;
    EXPECT_EQ(second, ScratchDir::read(path));
    EXPECT_EQ(second.substr(18, 12), "hand comment");
    EXPECT_EQ(byteAt(second, 72), 0x13u);
    EXPECT_EQ(byteAt(second, 73), 0x01u);
    EXPECT_EQ(byteAt(second, 78), 0x07u);
}

TEST(VariableFile, RefusesWhatDoesNotFitAndLosesNoFile) {
    ScratchDir dir;
    const std::string path = dir.file("keep.89p");
    ScratchDir::write(path, "previous content");

    VariableFileInput huge = newDocument(ProgramKind::Program);
    huge.editorText = "\r\nPrgm\r\n" + std::string(70 * 1024, 'a') + "\r\nEndPrgm";
    const std::string tooLong = writeVariableFile(huge, path);
    EXPECT_NE(tooLong.find("too long"), std::string::npos);
    EXPECT_EQ(ScratchDir::read(path), "previous content");

    // The largest text that fits still writes.
    huge.editorText = std::string(kMaxFileSize - 88 - 2 - 12, 'a');
    EXPECT_EQ(buildVariableFile(huge).bytes.size(), static_cast<size_t>(kMaxFileSize));

    // A read-only file, a missing folder and a folder in the file's place are refused.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_NE(writeVariableFile(newDocument(ProgramKind::Program), path), "");
    EXPECT_EQ(ScratchDir::read(path), "previous content");
    EXPECT_NE(writeVariableFile(newDocument(ProgramKind::Program), dir.file("missing/x.89p")), "");
    std::filesystem::create_directory(dir.file("folder.89p"));
    EXPECT_NE(writeVariableFile(newDocument(ProgramKind::Program), dir.file("folder.89p")), "");
    EXPECT_FALSE(std::filesystem::exists(path + ".korvane-tmp"));
}

TEST(VariableFile, DamagedFilesAreRefusedNeverCrash) {
    const Bytes good = buildVariableFile(newDocument(ProgramKind::Program)).bytes;
    for (size_t cut : {size_t(0), size_t(50), size_t(88), size_t(100), size_t(101)})
        EXPECT_FALSE(parseVariableFile(good.substr(0, cut)).ok()) << cut;
    Bytes noParen = good;
    noParen[89] = 'x';
    EXPECT_FALSE(parseVariableFile(noParen).ok());  // the only ")" is gone
    EXPECT_TRUE(parseVariableFile(good.substr(0, 102)).ok());

    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        Bytes junk(rng() % 300, '\0');
        for (auto& b : junk) b = static_cast<char>(rng());
        const ParseResult r = parseVariableFile(junk);
        if (r.ok()) {
            EXPECT_EQ(r.content.header.size() + 1 + r.content.arguments.size() + 1 + r.content.programText.size() +
                          r.content.trailer.size(),
                      junk.size());
        }
    }
    EXPECT_FALSE(readVariableFile("/nonexistent/file.89p").ok());
    ScratchDir dir;
    EXPECT_NE(readVariableFile(dir.path().string()).error.find("folder"), std::string::npos);
}

TEST(VariableFile, EmptyNameIsRefusedEmptyFolderMeansTheCurrentOne) {
    VariableFileInput doc = newDocument(ProgramKind::Program);
    doc.nameField = "()";
    EXPECT_FALSE(buildVariableFile(doc).ok());
    doc.nameField = "p()";
    doc.folderField = "";
    const Bytes bytes = buildVariableFile(doc).bytes;
    EXPECT_EQ(bytes.substr(10, 8), Bytes(8, '\0'));
    EXPECT_EQ(bytes.substr(64, 8), Bytes("p\0\0\0\0\0\0\0", 8));
}

TEST(VariableFile, TextSamplesOpenWithTheirNameFolderAndArguments) {
    if (!samples::available()) GTEST_SKIP() << samples::missingMessage();
    int checked = 0;
    for (const auto& path : samples::singleVariableFiles()) {
        const Bytes bytes = samples::bytesOf(path);
        if (!samples::isTextForm(bytes)) continue;
        const ParseResult read = parseVariableFile(bytes);
        ASSERT_TRUE(read.ok()) << path << ": " << read.error;
        // The file names are "<origin>__<folder>.<name>.<ext>".
        const std::string stem = path.stem().string();
        const std::string qualified = stem.substr(stem.find("__") + 2);
        EXPECT_EQ(read.content.folder, qualified.substr(0, qualified.find('.'))) << path;
        EXPECT_EQ(read.content.name, qualified.substr(qualified.find('.') + 1)) << path;
        const std::string& text = read.content.programText;
        EXPECT_TRUE(text.ends_with("EndPrgm") || text.ends_with("EndFunc")) << path;
        EXPECT_EQ(bytes.substr(88, read.content.arguments.size() + 2), "(" + read.content.arguments + ")");

        const VariableFileInput again{read.content.name + "(" + read.content.arguments + ")", read.content.folder,
                                      normaliseLineBreaks(text), read.content.header, read.content.trailer};
        EXPECT_EQ(buildVariableFile(again).bytes, bytes) << path;
        ++checked;
    }
    EXPECT_EQ(checked, 8);
}

}  // namespace
}  // namespace korvane
