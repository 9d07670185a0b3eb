#pragma once
// Calculator files that hold several variables, in the layout the link software
// writes: for each folder an entry, then its variables' entries, then their data.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "files/VariableFile.h"

namespace korvane::test {

struct GroupVariable {
    std::string folder;
    std::string name;
    std::uint8_t type = 0x12;  // 0x12 program, 0x13 function, 0x0C string
    Bytes data;                // the 2-byte big-endian size and what it counts
};

// The data of a single-variable file, as a group member carries it.
inline Bytes dataOfSingleFile(const Bytes& file) { return file.substr(0x56, file.size() - 0x56 - 2); }

inline Bytes stringData(const std::string& text) {
    const std::size_t size = text.size() + 3;
    return Bytes{static_cast<char>(size >> 8), static_cast<char>(size & 0xFF)} + '\0' + text + '\0' + '\x2D';
}

inline Bytes groupFile(const std::vector<GroupVariable>& variables) {
    auto u16 = [](std::uint32_t v) { return Bytes{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; };
    auto u32 = [&](std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
    auto name8 = [](const std::string& n) { return (n + std::string(8, '\0')).substr(0, 8); };
    std::map<std::string, std::vector<const GroupVariable*>> folders;
    for (const GroupVariable& v : variables) folders[v.folder].push_back(&v);
    const std::uint32_t entries = static_cast<std::uint32_t>(folders.size() + variables.size());
    std::uint32_t block = 0x3C + 16 * entries + 6;
    Bytes table, blocks;
    for (const auto& [folder, members] : folders) {
        table += u32(block) + name8(folder) + '\x1F' + '\0' + u16(static_cast<std::uint32_t>(members.size()));
        for (const GroupVariable* v : members) {
            table += u32(block) + name8(v->name) + static_cast<char>(v->type) + '\0' + u16(0);
            std::uint32_t sum = 0;
            for (unsigned char c : v->data) sum += c;
            blocks += std::string(4, '\0') + v->data + u16(sum & 0xFFFF);
            block += static_cast<std::uint32_t>(4 + v->data.size() + 2);
        }
    }
    Bytes file = "**TI89**" + u16(1) + name8("main") + std::string(40, '\0') + u16(entries) + table;
    return file + u32(static_cast<std::uint32_t>(file.size() + 6 + blocks.size())) + "\xA5\x5A" + blocks;
}

}  // namespace korvane::test
