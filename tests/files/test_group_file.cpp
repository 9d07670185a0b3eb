// The group writer: what it writes, readVariableTable reads back member for member.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "files/GroupFile.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

TableEntry entry(const std::string& folder, const std::string& name, std::uint8_t type, const Bytes& data,
                 std::uint8_t attribute = 0) {
    TableEntry e;
    e.folder = folder;
    e.name = name;
    e.type = type;
    e.attribute = attribute;
    e.data = data;
    return e;
}

// Every data block's check sum: the 16-bit sum of its size word and data, low byte first.
void expectCheckSums(const Bytes& file) {
    const auto at = [&](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(file[i])); };
    const size_t count = at(0x3A) | at(0x3B) << 8;
    for (size_t k = 0; k < count; ++k) {
        const size_t e = 0x3C + 16 * k;
        if (at(e + 12) == kFolderTypeId) continue;
        const size_t block = at(e) | at(e + 1) << 8 | at(e + 2) << 16;
        const size_t size = at(block + 4) << 8 | at(block + 5);
        unsigned sum = 0;
        for (size_t i = block + 4; i < block + 6 + size; ++i) sum += at(i);
        EXPECT_EQ(sum & 0xFFFF, at(block + 6 + size) | at(block + 7 + size) << 8) << "entry " << k;
    }
}

void expectSameMembers(const std::vector<TableEntry>& read, const std::vector<TableEntry>& written) {
    ASSERT_EQ(read.size(), written.size());
    for (size_t k = 0; k < read.size(); ++k) {
        EXPECT_EQ(read[k].folder, written[k].folder.empty() ? "main" : written[k].folder) << k;
        EXPECT_EQ(read[k].name, written[k].name) << k;
        EXPECT_EQ(read[k].type, written[k].type) << k;
        EXPECT_EQ(read[k].attribute, written[k].attribute) << k;
        EXPECT_EQ(read[k].data, written[k].data) << k;
    }
}

TEST(GroupFile, FoldersGetTheirEntriesAndEveryMemberReadsBack) {
    const std::vector<TableEntry> entries = {
        entry("main", "a", kProgramTypeId, "(x)\rPrgm\rEndPrgm"),
        entry("algebra", "longname", kFunctionTypeId, Bytes("\x00\x01\x02\xE5", 4), 2),
        entry("main", "b", kProgramTypeId, Bytes(300, 'b')),
        entry("", "c", 0x0C, Bytes("\x00str\x00\x2D", 6)),
    };
    const Bytes file = writeGroupFile("**TI89**", entries);
    const VariableTable table = readVariableTable(file);
    ASSERT_TRUE(table.ok()) << table.error;
    EXPECT_EQ(table.signature, "**TI89**");
    EXPECT_EQ(table.calculator, Calculator::TI89);
    // Each folder's variables follow its entry, folders in the order of their first variable.
    std::vector<TableEntry> grouped = {entries[0], entries[2], entries[3], entries[1]};
    expectSameMembers(table.variables, grouped);
    const auto at = [&](size_t i) { return static_cast<unsigned char>(file[i]); };
    EXPECT_EQ(at(0x3A), 6);
    EXPECT_EQ(file.substr(0x3C + 4, 4), "main");
    EXPECT_EQ(at(0x3C + 12), kFolderTypeId);
    EXPECT_EQ(at(0x3C + 14), 3);
    EXPECT_EQ(file.substr(0x3C + 16 * 4 + 4, 7), "algebra");
    EXPECT_EQ(at(0x3C + 16 * 4 + 14), 1);
    // The folder entry points at its first variable's block, and the size after the table is the file's.
    EXPECT_EQ(file.substr(0x3C, 4), file.substr(0x3C + 16, 4));
    const size_t fileSize = at(0x3C + 96) | at(0x3C + 97) << 8 | at(0x3C + 98) << 16;
    EXPECT_EQ(fileSize, file.size());
    EXPECT_EQ(file.substr(0x3C + 100, 2), "\xA5\x5A");
    expectCheckSums(file);
}

TEST(GroupFile, EveryRealFileWrittenAgainReadsBackMemberForMember) {
    const fs::path samples = KORVANE_SAMPLES_DIR;
    std::vector<fs::path> files;
    for (const fs::path& folder : {samples, samples.parent_path() / "ti68k-more"})
        if (fs::is_directory(folder))
            for (const auto& e : fs::directory_iterator(folder))
                if (e.is_regular_file() && e.path().extension() != ".md") files.push_back(e.path());
    if (files.empty()) GTEST_SKIP() << "the shared folders of real files are absent; no real group written";
    std::vector<TableEntry> everything;
    for (const fs::path& path : files) {
        Bytes bytes;
        readWholeFile(path.string(), bytes);
        const VariableTable table = readVariableTable(bytes);
        ASSERT_TRUE(table.ok()) << path;
        const Bytes again = writeGroupFile(table.signature, table.variables);
        const VariableTable back = readVariableTable(again);
        ASSERT_TRUE(back.ok()) << path << ": " << back.error;
        EXPECT_EQ(back.signature, table.signature);
        SCOPED_TRACE(path.string());
        std::vector<TableEntry> expected = table.variables;
        std::stable_sort(expected.begin(), expected.end(), [&](const TableEntry& a, const TableEntry& b) {
            auto rank = [&](const TableEntry& e) {
                for (size_t k = 0; k < table.variables.size(); ++k)
                    if (table.variables[k].folder == e.folder) return k;
                return table.variables.size();
            };
            return rank(a) < rank(b);
        });
        expectSameMembers(back.variables, expected);
        expectCheckSums(again);
        for (const TableEntry& e : table.variables)
            if (e.data.size() < 0x4000) everything.push_back(e);
    }
    // All of them in one file, several folders.
    const Bytes all = writeGroupFile("**TI92P*", everything);
    const VariableTable back = readVariableTable(all);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.variables.size(), everything.size());
    EXPECT_GT(everything.size(), 150u);
    expectCheckSums(all);
}

}  // namespace
}  // namespace korvane
