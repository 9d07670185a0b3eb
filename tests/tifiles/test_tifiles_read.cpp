// libtifiles, an independent reader of calculator files, reads every tokenized
// file that the detokenizer component writes, finds its check field right and
// sees the same variable.
#include <gtest/gtest.h>
#include <unistd.h>

#include <glib.h>
// The library's C headers use the C keyword "restrict", which C++ spells __restrict.
#define restrict __restrict
#include <tifiles.h>
#undef restrict

#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/Detokenizer.h"
#include "files/FileFlows.h"
#include "files/VariableFile.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> warnings;

void collect(const gchar*, GLogLevelFlags, const gchar* message, gpointer) { warnings.emplace_back(message ? message : ""); }

class TifilesReader : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tifiles_library_init();
        g_log_set_handler("tifiles", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION),
                          collect, nullptr);
    }
    static void TearDownTestSuite() { tifiles_library_exit(); }
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("korvane_tifiles_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        warnings.clear();
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(TifilesReader, ReadsEveryTokenizedRewriteOfTheSamplesWithoutAChecksumWarning) {
    if (!fs::is_directory(KORVANE_SAMPLES_DIR))
        GTEST_SKIP() << "sample folder " << KORVANE_SAMPLES_DIR << " is absent; sample tests skipped";
    const Detokenizer component;
    int read = 0;
    for (const auto& entry : fs::directory_iterator(KORVANE_SAMPLES_DIR)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".89p" && ext != ".89f") continue;
        const std::string source = entry.path().string();
        SCOPED_TRACE(source);
        const DetokenizerAnswer text = component.ProgramText(source);
        ASSERT_TRUE(text.ok()) << text.error;
        const std::string target = (dir_ / ("out" + ext)).string();
        ASSERT_EQ(component.WriteVariable(target, component.HeaderString1(source).value,
                                          component.HeaderString2(source).value, text.value, 1, true),
                  "");
        const VariableRecord ours = readVariableRecord(target);
        ASSERT_TRUE(ours.ok()) << ours.error;

        warnings.clear();
        FileContent* content = tifiles_content_create_regular(CALC_TI89);
        ASSERT_NE(content, nullptr);
        ASSERT_EQ(tifiles_file_read_regular(target.c_str(), content), 0);
        for (const std::string& w : warnings) EXPECT_EQ(w.find("hecksum"), std::string::npos) << w;
        EXPECT_EQ(content->checksum, content->stored_checksum);
        ASSERT_EQ(content->num_entries, 1u);
        const VarEntry* var = content->entries[0];
        EXPECT_EQ(std::string(var->name), std::string(ours.header.c_str() + 64, strnlen(ours.header.c_str() + 64, 8)));
        EXPECT_EQ(var->type, ext == ".89f" ? 0x13 : 0x12);
        // tilibs keeps the size word with the data.
        ASSERT_EQ(var->size, ours.data.size() + 2);
        EXPECT_EQ(Bytes(reinterpret_cast<const char*>(var->data) + 2, var->size - 2), ours.data);
        tifiles_content_delete_regular(content);
        ++read;
    }
    EXPECT_EQ(read, 28);
}

// The folder and the name that the editor opens a real file with are those that
// libtifiles reads, a full 8-character field included (statvars, followed at once
// by the comment).
TEST_F(TifilesReader, OpensEveryRealFileUnderTheFolderAndNameTheLibraryReads) {
    const fs::path more = fs::path(KORVANE_SAMPLES_DIR).parent_path() / "ti68k-more";
    if (!fs::is_directory(KORVANE_SAMPLES_DIR) || !fs::is_directory(more))
        GTEST_SKIP() << "the shared folders of real files are absent; real files not compared";
    const Detokenizer detokenizer;
    int compared = 0, fullFolders = 0;
    for (const fs::path& folder : {fs::path(KORVANE_SAMPLES_DIR), more}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::string ext = entry.path().extension().string();
            for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (ext.size() != 4 || (ext.back() != 'p' && ext.back() != 'f')) continue;
            const std::string path = entry.path().string();
            SCOPED_TRACE(path);
            FileContent* content = tifiles_content_create_regular(CALC_TI89);
            ASSERT_EQ(tifiles_file_read_regular(path.c_str(), content), 0);
            ASSERT_EQ(content->num_entries, 1u);
            const OpenedFile opened = openProgramFile(path, detokenizer, dir_.string());
            ASSERT_TRUE(opened.ok()) << opened.reason;
            EXPECT_EQ(opened.content.folder, std::string(content->entries[0]->folder));
            EXPECT_EQ(opened.content.name, std::string(content->entries[0]->name));
            fullFolders += opened.content.folder.size() == 8;
            tifiles_content_delete_regular(content);
            ++compared;
        }
    }
    EXPECT_GT(compared, 90);
    EXPECT_GE(fullFolders, 4);
}

TEST_F(TifilesReader, AWrongCheckFieldIsReportedSoItsAbsenceMeansSomething) {
    const Detokenizer component;
    const std::string target = (dir_ / "f.89f").string();
    ASSERT_EQ(component.WriteVariable(target, newDocumentHeader(), "function,00", "(x)\rFunc\rReturn x^2\rEndFunc", 1, true), "");
    Bytes file;
    ASSERT_EQ(readWholeFile(target, file), "");
    file[file.size() - 2] = static_cast<char>(file[file.size() - 2] ^ 0x55);
    ASSERT_EQ(writeFileAtomically(target, file), "");

    FileContent* content = tifiles_content_create_regular(CALC_TI89);
    ASSERT_EQ(tifiles_file_read_regular(target.c_str(), content), 0);
    EXPECT_NE(content->checksum, content->stored_checksum);
    bool reported = false;
    for (const std::string& w : warnings) reported = reported || w.find("hecksum") != std::string::npos;
    EXPECT_TRUE(reported);
    tifiles_content_delete_regular(content);
}

}  // namespace
}  // namespace korvane
