#pragma once
// The variable table of a calculator file: single files, single files that hold a
// folder entry before their variable, and group files holding many variables.
//
// Every entry is 16 bytes from offset 0x3C: the offset of its data block, its name
// (8 bytes), its type, its attribute and two more bytes (for a folder entry: the
// number of variables that follow in that folder). The table is followed by the
// file size and A5 5A; each data block is four zero bytes, the variable data (a
// big-endian size word and that many bytes) and a 16-bit check sum.
#include <cstdint>
#include <string>
#include <vector>

#include "files/VariableFile.h"

namespace korvane {

// The calculator family that a signature names. A TI-92 (original) stores its
// programs with a few differences from the TI-89 and TI-92 Plus.
enum class Calculator { TI89, TI92Plus, TI92 };

inline constexpr std::uint8_t kProgramTypeId = 0x12;
inline constexpr std::uint8_t kFunctionTypeId = 0x13;
inline constexpr std::uint8_t kFolderTypeId = 0x1F;

struct TableEntry {
    std::string folder;     // the folder entry it follows, else the file's default folder
    std::string name;       // up to 8 calculator codes
    std::uint8_t type = 0;  // 0x12 program, 0x13 function, ...
    std::uint8_t attribute = 0;
    Bytes data;             // the variable data without its size word
    bool isProgramOrFunction() const { return type == kProgramTypeId || type == kFunctionTypeId; }
    // "folder\name", or the name alone for the receiver's current folder.
    std::string qualifiedName() const;
};

struct VariableTable {
    Bytes signature;             // the 8 bytes at offset 0
    Calculator calculator = Calculator::TI89;
    std::string defaultFolder;   // offset 0x0A
    Bytes comment;               // the 40 bytes at offset 0x12
    Bytes singleHeader;          // a single-variable file's own 88 header bytes, else empty
    Bytes singleCheck;           // and its own check field, which text-form files hold fixed
    std::vector<TableEntry> variables;  // every entry but the folder entries, in file order
    std::string error;           // empty when the table was read; else why, in calculator codes
    bool ok() const { return error.empty(); }

    // The programs and functions, in file order.
    std::vector<const TableEntry*> programs() const;
    // The program or function named "folder\name" (or "name", matched in any folder
    // when only one holds it); nullptr when there is none.
    const TableEntry* find(const std::string& qualifiedName) const;
};

// Reads the table of a whole file. Refuses an unknown signature, a table or a data
// block that runs past the file, a size word that does not fit its block, and a
// file that holds no variable. Bytes after the file size that the header names are
// ignored, as link software ignores them.
VariableTable readVariableTable(const Bytes& file);

// Which program or function of a file to take: `wanted` ("folder\name") when not
// empty, else the only one. The error lists the candidates when there are several.
struct ChosenEntry {
    const TableEntry* entry = nullptr;
    std::string error;
    bool ok() const { return error.empty(); }
};
ChosenEntry chooseProgram(const VariableTable& table, const std::string& wanted);

// The 88 header bytes of a single-variable file holding `entry`: a single-variable
// file's own header as it stands, else one made of the table's signature and
// comment and the entry's folder, name, type, attribute and sizes.
Bytes singleVariableHeader(const VariableTable& table, const TableEntry& entry);

// The whole single-variable file of `entry`, with its check sum.
Bytes singleVariableFile(const VariableTable& table, const TableEntry& entry);

// Whether variable data holds program text (starts with "(") rather than tokens.
bool isTextForm(const Bytes& data);

// "program" or "function" for the type byte.
const char* kindWord(std::uint8_t type);

}  // namespace korvane
