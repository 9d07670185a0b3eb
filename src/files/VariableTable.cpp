#include "files/VariableTable.h"

#include "files/Messages.h"

namespace korvane {
namespace {

using namespace layout;
constexpr size_t kEntrySize = 16;
// A link file is never this large; a larger "file size" is not one.
constexpr size_t kLargestFile = 8u << 20;

unsigned at(const Bytes& b, size_t i) { return static_cast<unsigned char>(b[i]); }
unsigned word(const Bytes& b, size_t i) { return at(b, i) | (at(b, i + 1) << 8); }
size_t dword(const Bytes& b, size_t i) { return word(b, i) | (static_cast<size_t>(word(b, i + 2)) << 16); }

std::string field(const Bytes& b, size_t offset) {
    std::string out;
    for (size_t i = offset; i < offset + kFieldWidth && b[i] != '\0'; ++i) out += b[i];
    return out;
}

void putField(Bytes& b, size_t offset, const std::string& value) {
    b.replace(offset, kFieldWidth, kFieldWidth, '\0');
    b.replace(offset, std::min(value.size(), kFieldWidth), value.substr(0, kFieldWidth));
}

VariableTable refused(std::string reason) {
    VariableTable t;
    t.error = std::move(reason);
    return t;
}

}  // namespace

std::string TableEntry::qualifiedName() const { return folder.empty() ? name : folder + "\\" + name; }

std::vector<const TableEntry*> VariableTable::programs() const {
    std::vector<const TableEntry*> out;
    for (const TableEntry& e : variables)
        if (e.isProgramOrFunction()) out.push_back(&e);
    return out;
}

const TableEntry* VariableTable::find(const std::string& qualifiedName) const {
    const TableEntry* byNameOnly = nullptr;
    int sameName = 0;
    for (const TableEntry* e : programs()) {
        if (e->qualifiedName() == qualifiedName) return e;
        if (e->name == qualifiedName) {
            byNameOnly = e;
            ++sameName;
        }
    }
    return sameName == 1 ? byNameOnly : nullptr;
}

bool isTextForm(const Bytes& data) { return !data.empty() && data.front() == '('; }

const char* kindWord(std::uint8_t type) { return type == kFunctionTypeId ? "function" : "program"; }

VariableTable readVariableTable(const Bytes& file) {
    if (file.size() < kTable + 2)
        return refused(calcMessage(MessageId::TooShortForCalculatorFile, {file.size()}));
    const Bytes signature = file.substr(0, 8);
    VariableTable table;
    if (signature == "**TI89**") table.calculator = Calculator::TI89;
    else if (signature == "**TI92P*" || signature == "**V200**") table.calculator = Calculator::TI92Plus;
    else if (signature == "**TI92**") table.calculator = Calculator::TI92;
    else return refused(calcMessage(MessageId::UnknownSignature));
    table.signature = signature;
    table.defaultFolder = field(file, kFolder);
    table.comment = file.substr(kComment, kCommentSize);

    const size_t count = word(file, kEntryCount);
    const size_t tableEnd = kTable + count * kEntrySize;
    if (count == 0) return refused(calcMessage(MessageId::NoVariableInTable));
    if (tableEnd + 6 > file.size())
        return refused(calcMessage(MessageId::TableRunsPastEnd, {count}));
    const size_t fileSize = dword(file, tableEnd);
    if (fileSize > file.size() || fileSize > kLargestFile)
        return refused(calcMessage(MessageId::SizeRunsPastEnd, {fileSize, file.size()}));

    std::string folder = table.defaultFolder;
    size_t leftInFolder = 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t e = kTable + i * kEntrySize;
        const std::string entryName = field(file, e + 4);
        const std::uint8_t type = static_cast<std::uint8_t>(at(file, e + 12));
        if (type == kFolderTypeId) {
            folder = entryName;
            leftInFolder = word(file, e + 14);
            continue;
        }
        TableEntry entry;
        entry.folder = folder;
        if (leftInFolder > 0 && --leftInFolder == 0) folder = table.defaultFolder;
        entry.name = entryName;
        entry.type = type;
        entry.attribute = static_cast<std::uint8_t>(at(file, e + 13));
        const size_t block = dword(file, e);
        const std::string which = calcMessage(MessageId::TheEntry, {i + 1, entry.qualifiedName()});
        if (block < tableEnd + 6 || block + 4 + 2 > fileSize) return refused(calcMessage(MessageId::EntryOutsideFile, {which}));
        const size_t size = (at(file, block + 4) << 8) | at(file, block + 5);
        if (block + 4 + 2 + size + 2 > fileSize)
            return refused(calcMessage(MessageId::EntryRunsPastEnd, {which, size}));
        entry.data = file.substr(block + 6, size);
        table.variables.push_back(std::move(entry));
    }
    if (table.variables.empty()) return refused(calcMessage(MessageId::OnlyFolderEntries));
    if (count == 1 && dword(file, kTable) == kTable + kEntrySize + 6) {
        table.singleHeader = file.substr(0, kHeaderSize);
        table.singleCheck = file.substr(kHeaderSize + table.variables.front().data.size(), 2);
    }
    return table;
}

ChosenEntry chooseProgram(const VariableTable& table, const std::string& wanted) {
    const auto programs = table.programs();
    if (!wanted.empty()) {
        if (const TableEntry* e = table.find(wanted)) return {e, {}};
        return {nullptr, calcMessage(MessageId::NoProgramNamed, {wanted})};
    }
    if (programs.size() == 1) return {programs.front(), {}};
    if (programs.empty()) return {nullptr, calcMessage(MessageId::NoProgramOrFunction)};
    std::string names;
    for (const TableEntry* e : programs) names += (names.empty() ? "" : ", ") + e->qualifiedName();
    return {nullptr, calcMessage(MessageId::ChooseWithVar, {programs.size(), names})};
}

Bytes singleVariableHeader(const VariableTable& table, const TableEntry& entry) {
    if (!table.singleHeader.empty()) return table.singleHeader;
    Bytes h(kHeaderSize, '\0');
    h.replace(0, 8, table.signature);
    h[8] = 0x01;
    putField(h, kFolder, entry.folder);
    h.replace(kComment, kCommentSize, table.comment);
    h[kEntryCount] = 0x01;
    h[kTable] = 0x52;
    putField(h, kName, entry.name);
    h[kType] = static_cast<char>(entry.type);
    h[kAttribute] = static_cast<char>(entry.attribute);
    setVariableSizes(h, entry.data.size());
    h[0x50] = static_cast<char>(0xA5);
    h[0x51] = 0x5A;
    return h;
}

Bytes singleVariableFile(const VariableTable& table, const TableEntry& entry) {
    Bytes file = singleVariableHeader(table, entry) + entry.data;
    if (!table.singleCheck.empty()) return file + table.singleCheck;
    appendCheckSum(file);
    return file;
}

}  // namespace korvane
