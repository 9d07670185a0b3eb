// libtifiles and libticonv, the field's independent readers, as a second opinion on
// the files Korvane writes and on its character table.
#include <gtest/gtest.h>

#include <set>

#include <glib.h>
// The header's C99 "restrict" is spelled the compiler's way in C++.
#define restrict __restrict
#include <ticonv.h>
#include <tifiles.h>
#undef restrict

#include "editor/CharTable.h"
#include "files/Document.h"
#include "files/FileFlows.h"
#include "files/VariableTable.h"
#include "files/VariableFile.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

class LibTifiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tifiles_library_init(); }
};

TEST_F(LibTifiles, ReadsEveryKindOfFileTheWriterMakes) {
    test::ScratchDir dir;
    struct Case {
        const char* file;
        VariableFileInput doc;
    };
    const Case cases[] = {
        {"new.89p", {kNewName, kNewFolder, newDocumentText(ProgramKind::Program), newDocumentHeader(), programTrailer()}},
        {"f.89f", {"f(x)", "algebra", newDocumentText(ProgramKind::Function), newDocumentHeader(), functionTrailer()}},
        {"long.92p", {"longname(a,b,c)", "folder8c", "\r\nPrgm\r\n" + std::string(20000, 'x') + "\r\nEndPrgm",
                      newDocumentHeader(), programTrailer()}},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.file);
        ASSERT_EQ(writeVariableFile(c.doc, path), "");
        const Bytes bytes = test::ScratchDir::read(path);

        FileContent* content = tifiles_content_create_regular(CALC_TI89);
        ASSERT_NE(content, nullptr);
        ASSERT_EQ(tifiles_file_read_regular(path.c_str(), content), 0) << c.file;
        ASSERT_EQ(content->num_entries, 1u);
        const VarEntry* entry = content->entries[0];
        const std::string name = c.doc.nameField.substr(0, c.doc.nameField.find('('));
        EXPECT_STREQ(entry->name, name.c_str());
        EXPECT_STREQ(entry->folder, c.doc.folderField.c_str());
        EXPECT_EQ(entry->type, 0x12);
        // The variable data (size word included) is what the writer laid out.
        ASSERT_EQ(entry->size, bytes.size() - 86 - 2);
        EXPECT_EQ(Bytes(reinterpret_cast<const char*>(entry->data), entry->size), bytes.substr(86, entry->size));
        // The check field is the fixed pair of the text form, which libtifiles only reports.
        EXPECT_EQ(content->stored_checksum, static_cast<uint16_t>(static_cast<unsigned char>(bytes[bytes.size() - 2]) |
                                                                 static_cast<unsigned char>(bytes.back()) << 8));
        tifiles_content_delete_regular(content);
    }
}

// A function of a group file, opened as the editor opens it and saved as Save as
// saves it (text form and tokenized), is a single-variable file that libtifiles reads,
// under the member's own folder and name, holding the calculator's bytes.
TEST_F(LibTifiles, ReadsAGroupMemberSavedAsAFileOfItsOwn) {
    const std::string group = std::string(KORVANE_SAMPLES_DIR) + "/../ti68k-more/loretoparisi__CST121.89G";
    Bytes original;
    if (!readWholeFile(group, original).empty()) GTEST_SKIP() << "../shared/ti68k-more is absent; group member not saved";
    const VariableTable table = readVariableTable(original);
    const TableEntry* member = table.find("cst\\azeros");
    ASSERT_NE(member, nullptr);
    test::ScratchDir dir;
    const Detokenizer detokenizer;
    const OpenedFile opened = openProgramFile(group, detokenizer, dir.path().string(), "cst\\azeros");
    ASSERT_TRUE(opened.ok()) << opened.reason;
    ASSERT_FALSE(opened.wholeFile);
    const VariableFileInput doc{nameFieldOf(opened.content), opened.content.folder,
                                editorTextOf(opened.content.programText), opened.content.header,
                                opened.content.trailer, opened.oneExpression};
    for (const bool tokenized : {false, true}) {
        const std::string path = dir.file(tokenized ? "azeros-tok.89f" : "azeros.89f");
        ASSERT_EQ(saveProgramFile(doc, path, tokenized, detokenizer), "");
        FileContent* content = tifiles_content_create_regular(CALC_TI89);
        ASSERT_EQ(tifiles_file_read_regular(path.c_str(), content), 0) << path;
        ASSERT_EQ(content->num_entries, 1u);
        const VarEntry* entry = content->entries[0];
        EXPECT_STREQ(entry->name, "azeros");
        EXPECT_STREQ(entry->folder, "cst");
        EXPECT_EQ(entry->type, 0x13);
        // libtifiles' data holds the size word first; the three flag bytes under the type tag aside.
        const Bytes data(reinterpret_cast<const char*>(entry->data) + 2, entry->size - 2);
        if (tokenized) {
            ASSERT_EQ(data.size(), member->data.size());
            EXPECT_EQ(data.substr(0, data.size() - 4), member->data.substr(0, member->data.size() - 4));
        } else {
            EXPECT_EQ(data.front(), '(');
        }
        tifiles_content_delete_regular(content);
    }
}

TEST(LibTiconv, CharacterTableAgreesWithTheFieldsMapping) {
    // Codes whose usual glyph needs two units or is a control have our own stand-ins.
    const std::set<int> standIns = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 0x95, 0x97, 0x9A, 0x9B};
    int compared = 0;
    for (int code = 1; code < 256; ++code) {
        if (standIns.count(code)) continue;
        const char ti[2] = {static_cast<char>(code), '\0'};
        unsigned short* utf16 = ticonv_charset_ti_to_utf16(CALC_TI89, ti);
        ASSERT_NE(utf16, nullptr);
        EXPECT_EQ(utf16[0], unitOfCode(static_cast<unsigned char>(code))) << "code " << code;
        EXPECT_EQ(utf16[1], 0) << "code " << code;
        ticonv_utf16_free(utf16);
        ++compared;
    }
    EXPECT_EQ(compared, 255 - 16);
    // Every code round-trips through the table.
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(codeOfUnit(unitOfCode(static_cast<unsigned char>(code))), static_cast<unsigned char>(code));
}

}  // namespace
}  // namespace korvane
