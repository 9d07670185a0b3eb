// libtifiles, the independent reader, on the group files Korvane writes: every
// member under its folder and name, with its bytes and no check sum warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <glib.h>
#define restrict __restrict
#include <tifiles.h>
#undef restrict

#include "files/GroupFile.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> warnings;
void collect(const gchar*, GLogLevelFlags, const gchar* message, gpointer) { warnings.emplace_back(message ? message : ""); }

TEST(LibTifilesGroup, ReadsEveryMemberOfAGroupKorvaneWrites) {
    tifiles_library_init();
    const guint handler = g_log_set_handler("tifiles", G_LOG_LEVEL_MASK, collect, nullptr);
    const fs::path more = fs::path(KORVANE_SAMPLES_DIR).parent_path() / "ti68k-more";
    std::vector<TableEntry> entries;
    for (const fs::path& folder : {fs::path(KORVANE_SAMPLES_DIR), more}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& e : fs::directory_iterator(folder)) {
            if (e.path().extension() != ".89p" && e.path().extension() != ".89f") continue;
            Bytes bytes;
            readWholeFile(e.path().string(), bytes);
            const VariableTable table = readVariableTable(bytes);
            if (table.ok()) entries.insert(entries.end(), table.variables.begin(), table.variables.end());
        }
    }
    if (entries.empty()) GTEST_SKIP() << "the shared folders of real files are absent; no group written";
    test::ScratchDir dir;
    const std::string path = dir.file("all.89g");
    const Bytes file = writeGroupFile("**TI89**", entries);
    ASSERT_EQ(writeFileAtomically(path, file), "");
    const VariableTable ours = readVariableTable(file);
    ASSERT_TRUE(ours.ok());

    warnings.clear();
    EXPECT_TRUE(tifiles_file_is_group(path.c_str()));
    FileContent* content = tifiles_content_create_regular(CALC_TI89);
    ASSERT_EQ(tifiles_file_read_regular(path.c_str(), content), 0);
    for (const std::string& w : warnings) EXPECT_EQ(w.find("hecksum"), std::string::npos) << w;
    ASSERT_EQ(content->num_entries, ours.variables.size());
    for (size_t k = 0; k < ours.variables.size(); ++k) {
        const VarEntry* var = content->entries[k];
        const TableEntry& e = ours.variables[k];
        EXPECT_EQ(std::string(var->folder), e.folder) << k;
        EXPECT_EQ(std::string(var->name), e.name) << k;
        EXPECT_EQ(var->type, e.type) << k;
        // tilibs keeps the size word with the data.
        ASSERT_EQ(var->size, e.data.size() + 2) << k;
        EXPECT_EQ(Bytes(reinterpret_cast<const char*>(var->data) + 2, var->size - 2), e.data) << k;
    }
    tifiles_content_delete_regular(content);
    g_log_remove_handler("tifiles", handler);
    EXPECT_GT(ours.variables.size(), 20u);
}

}  // namespace
}  // namespace korvane
