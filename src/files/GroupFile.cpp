#include "files/GroupFile.h"

#include <algorithm>

namespace korvane {
namespace {

constexpr size_t kTable = 0x3C;
constexpr size_t kEntrySize = 16;
constexpr size_t kNameSize = 8;

void putWord(Bytes& b, size_t at, size_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void putDword(Bytes& b, size_t at, size_t v) {
    putWord(b, at, v & 0xFFFF);
    putWord(b, at + 2, v >> 16);
}

void putEntry(Bytes& file, size_t index, size_t block, const std::string& name, std::uint8_t type,
              std::uint8_t attribute, size_t count) {
    const size_t at = kTable + kEntrySize * index;
    putDword(file, at, block);
    file.replace(at + 4, std::min(name.size(), kNameSize), name.substr(0, kNameSize));
    file[at + 12] = static_cast<char>(type);
    file[at + 13] = static_cast<char>(attribute);
    putWord(file, at + 14, count);
}

// Four zero bytes, the big-endian size word, the data and the 16-bit sum of the
// size word and the data, low byte first.
Bytes dataBlock(const Bytes& data) {
    Bytes block(4, '\0');
    block += static_cast<char>((data.size() >> 8) & 0xFF);
    block += static_cast<char>(data.size() & 0xFF);
    block += data;
    unsigned sum = 0;
    for (size_t k = 4; k < block.size(); ++k) sum += static_cast<unsigned char>(block[k]);
    block += static_cast<char>(sum & 0xFF);
    block += static_cast<char>((sum >> 8) & 0xFF);
    return block;
}

}  // namespace

Bytes writeGroupFile(const std::string& signature, const std::vector<TableEntry>& entries) {
    auto folderOf = [](const TableEntry& e) { return e.folder.empty() ? std::string("main") : e.folder; };
    std::vector<std::string> folders;
    for (const TableEntry& e : entries)
        if (std::find(folders.begin(), folders.end(), folderOf(e)) == folders.end()) folders.push_back(folderOf(e));

    const size_t count = folders.size() + entries.size();
    const size_t tableEnd = kTable + kEntrySize * count;
    Bytes file(tableEnd + 6, '\0');
    file.replace(0, 8, signature.substr(0, 8));
    file[8] = 0x01;
    const std::string comment = "Group file";
    file.replace(0x12, comment.size(), comment);
    putWord(file, 0x3A, count);

    Bytes blocks;
    size_t index = 0;
    for (const std::string& folder : folders) {
        const size_t folderIndex = index++;
        size_t inFolder = 0;
        for (const TableEntry& e : entries) {
            if (folderOf(e) != folder) continue;
            putEntry(file, index++, tableEnd + 6 + blocks.size(), e.name, e.type, e.attribute, 0);
            blocks += dataBlock(e.data);
            ++inFolder;
        }
        // A folder entry points at the block of its first variable.
        const size_t first = kTable + kEntrySize * (folderIndex + 1);
        const size_t firstBlock = static_cast<unsigned char>(file[first]) | static_cast<unsigned char>(file[first + 1]) << 8 |
                                  static_cast<size_t>(static_cast<unsigned char>(file[first + 2])) << 16;
        putEntry(file, folderIndex, firstBlock, folder, kFolderTypeId, 0, inFolder);
    }
    putDword(file, tableEnd, tableEnd + 6 + blocks.size());
    file[tableEnd + 4] = static_cast<char>(0xA5);
    file[tableEnd + 5] = 0x5A;
    return file + blocks;
}

}  // namespace korvane
