#pragma once
// Builds a calculator file of several entries as link software writes a group:
// 16-byte entries from 0x3C (block offset, 8-byte name, type, attribute, and for a
// folder entry the number of variables that follow), the file size and A5 5A, then
// for each variable four zero bytes, its big-endian size word, its data and its sum.
#include <string>
#include <vector>

#include "files/VariableFile.h"

namespace korvane::test {

struct GroupEntry {
    std::string name;      // up to 8 bytes, NUL-padded in the table
    unsigned type = 0x12;  // 0x1F for a folder entry
    Bytes data;            // a variable's data without its size word
    unsigned folderCount = 0;
};

inline Bytes groupFile(const std::vector<GroupEntry>& entries, const std::string& defaultFolder = {},
                       const Bytes& signature = "**TI89**", const Bytes& comment = "Group file") {
    auto putWord = [](Bytes& b, size_t at, size_t v) {
        b[at] = static_cast<char>(v & 0xFF);
        b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    const size_t tableEnd = 0x3C + 16 * entries.size();
    Bytes file(tableEnd + 6, '\0');
    file.replace(0, 8, signature);
    file[8] = 0x01;
    file.replace(0x0A, std::min<size_t>(defaultFolder.size(), 8), defaultFolder.substr(0, 8));
    file.replace(0x12, std::min<size_t>(comment.size(), 40), comment.substr(0, 40));
    putWord(file, 0x3A, entries.size());
    Bytes blocks;
    size_t offset = tableEnd + 6;
    // A folder entry points at the block of the first variable after it.
    for (size_t i = 0; i < entries.size(); ++i) {
        const GroupEntry& e = entries[i];
        const size_t at = 0x3C + 16 * i;
        putWord(file, at, offset);
        putWord(file, at + 2, offset >> 16);
        file.replace(at + 4, std::min<size_t>(e.name.size(), 8), e.name.substr(0, 8));
        file[at + 12] = static_cast<char>(e.type);
        if (e.type == 0x1F) {
            putWord(file, at + 14, e.folderCount);
            continue;
        }
        Bytes block(4, '\0');
        block += static_cast<char>((e.data.size() >> 8) & 0xFF);
        block += static_cast<char>(e.data.size() & 0xFF);
        block += e.data;
        unsigned sum = 0;
        for (size_t k = 4; k < block.size(); ++k) sum += static_cast<unsigned char>(block[k]);
        block += static_cast<char>(sum & 0xFF);
        block += static_cast<char>((sum >> 8) & 0xFF);
        blocks += block;
        offset += block.size();
    }
    putWord(file, tableEnd, offset);
    putWord(file, tableEnd + 2, offset >> 16);
    file[tableEnd + 4] = static_cast<char>(0xA5);
    file[tableEnd + 5] = 0x5A;
    return file + blocks;
}

// The variable data of a text-form program: "(args)", the text with CR line breaks,
// and the editor's program trailer without its fixed check pair.
inline Bytes textProgramData(const std::string& arguments, const std::string& lines) {
    return "(" + arguments + ")" + lines + Bytes("\x00\x00\x08\x19\xE4\xE5\x00\x00\x08\xDC", 10);
}

}  // namespace korvane::test
