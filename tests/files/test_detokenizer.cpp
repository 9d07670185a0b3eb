// The five operations of the detokenizer component on real files: what the open
// flow reads from them and what the save flow writes with them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/Detokenizer.h"
#include "files/VariableFile.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

class DetokenizerFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("korvane_detok_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string sample(const std::string& name) { return std::string(KORVANE_SAMPLES_DIR) + "/" + name; }
    static Bytes bytesOf(const std::string& p) {
        Bytes b;
        EXPECT_EQ(readWholeFile(p, b), "");
        return b;
    }
    // The 16-bit byte sum from the size word to the end of the variable data.
    static unsigned checkSum(const Bytes& file) {
        unsigned sum = 0;
        for (size_t i = 86; i + 2 < file.size(); ++i) sum += static_cast<unsigned char>(file[i]);
        return sum & 0xFFFF;
    }
    static unsigned storedCheck(const Bytes& file) {
        return static_cast<unsigned char>(file[file.size() - 2]) | (static_cast<unsigned char>(file.back()) << 8);
    }
    fs::path dir_;
    Detokenizer component_;
};

#define SKIP_WITHOUT_SAMPLES()                                  \
    if (!fs::is_directory(KORVANE_SAMPLES_DIR))                 \
    GTEST_SKIP() << "sample folder " << KORVANE_SAMPLES_DIR << " is absent; sample tests skipped"

TEST_F(DetokenizerFiles, OpeningReadsTextAndTokenizedFilesAlike) {
    SKIP_WITHOUT_SAMPLES();
    // Text form: exactly the bytes between offset 88 and the 12-byte trailer.
    const std::string text = sample("dapperfu__me575.cc.89p");
    const Bytes file = bytesOf(text);
    const DetokenizerAnswer t = component_.ProgramText(text);
    ASSERT_TRUE(t.ok()) << t.error;
    EXPECT_EQ(t.value, file.substr(88, file.size() - 100));
    EXPECT_EQ(component_.DataStart(text).value.substr(0, 1), "(");

    // Tokenized: the detokenized text in the same shape.
    const std::string tokenized = sample("dapperfu__me572.adecomp.89p");
    const DetokenizerAnswer p = component_.ProgramText(tokenized);
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.value.substr(0, 9), "(a)\rPrgm\r");
    EXPECT_EQ(p.value.substr(p.value.size() - 8), "\rEndPrgm");
    const DetokenizerAnswer start = component_.DataStart(tokenized);
    ASSERT_TRUE(start.ok());
    EXPECT_NE(start.value.substr(0, 1), "(");

    const DetokenizerAnswer h1 = component_.HeaderString1(tokenized);
    ASSERT_TRUE(h1.ok());
    EXPECT_EQ(h1.value, bytesOf(tokenized).substr(0, 88));
    EXPECT_EQ(component_.HeaderString2(tokenized).value, "program,01");
    EXPECT_EQ(component_.HeaderString2(sample("dapperfu__me575.woinv.89f")).value, "function,01");
    EXPECT_EQ(component_.HeaderString2(sample("dapperfu__me572.dp.89f")).value, "function,01");
}

TEST_F(DetokenizerFiles, OpeningATokenizedFileGivesATextFileThatTheReaderReads) {
    SKIP_WITHOUT_SAMPLES();
    const std::string source = sample("dapperfu__me572.traj.89p");
    const DetokenizerAnswer text = component_.ProgramText(source);
    ASSERT_TRUE(text.ok()) << text.error;
    const std::string temp = path("tmp89_M.dat");
    ASSERT_EQ(component_.WriteVariable(temp, component_.HeaderString1(source).value,
                                       component_.HeaderString2(source).value, text.value, 1, false),
              "");
    const ParseResult read = readVariableFile(temp);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.content.name, "traj");
    EXPECT_EQ(read.content.folder, "me572");
    const size_t close = text.value.find(')');
    EXPECT_EQ(read.content.arguments, text.value.substr(1, close - 1));
    EXPECT_EQ(read.content.programText, text.value.substr(close + 1));
    EXPECT_EQ(read.content.trailer.substr(0, 10), Bytes("\x00\x00\x08\x19\xE4\xE5\x00\x01\x08\xDC", 10));
    EXPECT_EQ(component_.ProgramText(temp).value, text.value);
}

TEST_F(DetokenizerFiles, SavingTokenizedRewritesATextFileWithTheCheckField) {
    // A text file as the editor's writer makes it, then the save flow's conversion.
    const std::string target = path("prog.89p");
    const std::string body = "\r\nPrgm\r\nLocal k\r\nFor k,1,n\r\nDisp k^2\r\nEndFor\r\nEndPrgm";
    ASSERT_EQ(writeVariableFile({"squares(n)", "work", body, newDocumentHeader(), programTrailer()}, target), "");
    const DetokenizerAnswer h1 = component_.HeaderString1(target);
    const DetokenizerAnswer h2 = component_.HeaderString2(target);
    const DetokenizerAnswer text = component_.ProgramText(target);
    ASSERT_TRUE(h1.ok() && h2.ok() && text.ok());
    ASSERT_EQ(component_.WriteVariable(target, h1.value, h2.value, text.value, 1, true), "");

    const Bytes file = bytesOf(target);
    const VariableRecord record = splitVariableFile(file);
    ASSERT_TRUE(record.ok()) << record.error;
    EXPECT_EQ(file.size(), 88 + record.data.size() + 2);
    EXPECT_EQ(record.data.front(), '\xE9');
    EXPECT_EQ(record.data, tokenize(text.value).data);
    EXPECT_EQ(storedCheck(file), checkSum(file));
    EXPECT_EQ(static_cast<unsigned char>(file[76]) | (static_cast<unsigned char>(file[77]) << 8), file.size());
    EXPECT_EQ(file.substr(64, 8), Bytes("squares\0", 8));
    EXPECT_EQ(file.substr(10, 8), Bytes("work\0\0\0\0", 8));
    EXPECT_EQ(file[72], '\x12');
    EXPECT_EQ(component_.ProgramText(target).value, "(n)\rPrgm\rLocal k\rFor k,1,n\rDisp k^2\rEndFor\rEndPrgm");

    // A function gets the function type byte.
    const std::string function = path("f.89f");
    ASSERT_EQ(component_.WriteVariable(function, h1.value, "program,00", "(x)\rFunc\rReturn x+1\rEndFunc", 1, true), "");
    const Bytes f = bytesOf(function);
    EXPECT_EQ(f[72], '\x13');
    EXPECT_EQ(storedCheck(f), checkSum(f));
    EXPECT_EQ(component_.HeaderString2(function).value, "function,00");
}

TEST_F(DetokenizerFiles, ATextThatDoesNotParseWritesNothingAndBadArgumentsAreRefused) {
    const std::string target = path("keep.89p");
    ASSERT_EQ(writeVariableFile({"keep()", "main", "\r\nPrgm\r\n\r\nEndPrgm", newDocumentHeader(), programTrailer()}, target), "");
    const Bytes before = bytesOf(target);
    const std::string h1 = component_.HeaderString1(target).value;

    const std::string error = component_.WriteVariable(target, h1, "program,00", "()\rPrgm\rDisp (1\rEndPrgm", 1, true);
    EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
    EXPECT_EQ(bytesOf(target), before);

    EXPECT_NE(component_.WriteVariable(target, "short", "program,00", "()\rPrgm\rEndPrgm", 1, true), "");
    EXPECT_NE(component_.WriteVariable(target, h1, "kind?", "()\rPrgm\rEndPrgm", 1, true), "");
    EXPECT_NE(component_.WriteVariable(target, h1, "program,00", "()\rPrgm\rEndPrgm", 2, true), "");
    EXPECT_NE(component_.WriteVariable(target, h1, "program,00", "Prgm\rEndPrgm", 1, false), "");
    EXPECT_NE(component_.WriteVariable(path("no/such/dir/x.89p"), h1, "program,00", "()\rPrgm\rEndPrgm", 1, true), "");
    EXPECT_EQ(bytesOf(target), before);

    // Missing, short and inconsistent files are refused by every reading operation.
    const std::string missing = path("missing.89p");
    EXPECT_FALSE(component_.ProgramText(missing).ok());
    EXPECT_FALSE(component_.HeaderString1(missing).ok());
    EXPECT_FALSE(component_.HeaderString2(missing).ok());
    EXPECT_FALSE(component_.DataStart(missing).ok());
    const std::string shortFile = path("short.89p");
    ASSERT_EQ(writeFileAtomically(shortFile, before.substr(0, 60)), "");
    EXPECT_FALSE(component_.ProgramText(shortFile).ok());
    Bytes oversized = before;
    oversized[86] = '\x7F';
    const std::string bad = path("bad.89p");
    ASSERT_EQ(writeFileAtomically(bad, oversized), "");
    const DetokenizerAnswer answer = component_.ProgramText(bad);
    EXPECT_FALSE(answer.ok());
    EXPECT_NE(answer.error.find("bad.89p"), std::string::npos) << answer.error;
}

TEST_F(DetokenizerFiles, WholeFileConversionsKeepHeaderAndTrailingBytesAreIgnored) {
    SKIP_WITHOUT_SAMPLES();
    // sgsgeoan is 3 bytes longer on disk than its header says.
    const Bytes original = bytesOf(sample("sseng__sgsgeoan.89p"));
    const BuildResult text = detokenizeVariableFile(original);
    ASSERT_TRUE(text.ok()) << text.error;
    const ParseResult parsed = parseVariableFile(text.bytes);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.content.name, "sgsgeoan");
    EXPECT_EQ(parsed.content.folder, "sgs");
    const BuildResult back = tokenizeVariableFile(text.bytes);
    ASSERT_TRUE(back.ok()) << back.error;
    const VariableRecord a = splitVariableFile(original);
    const VariableRecord b = splitVariableFile(back.bytes);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_EQ(b.header.substr(0, 76), a.header.substr(0, 76));
    EXPECT_EQ(b.data.substr(0, b.data.size() - 4), a.data.substr(0, a.data.size() - 4));
    EXPECT_EQ(b.data[b.data.size() - 3], a.data[a.data.size() - 3]);  // Flag 2 carried over
    EXPECT_EQ(storedCheck(back.bytes), checkSum(back.bytes));
    EXPECT_FALSE(tokenizeVariableFile(original).ok());
    EXPECT_FALSE(detokenizeVariableFile(text.bytes).ok());
}

}  // namespace
}  // namespace korvane
