// Feeds arbitrary bytes to the variable table reader, group files included: the
// table is read or refused with a reason, never from outside the file, and every
// program or function it lists reads as the editor would open it or is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/FileFlows.h"
#include "files/VariableTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const korvane::Bytes file(reinterpret_cast<const char*>(data), size);
    const korvane::VariableTable table = korvane::readVariableTable(file);
    if (!table.ok()) {
        if (table.error.empty()) std::abort();
        return 0;
    }
    if (table.variables.empty()) std::abort();
    std::size_t held = 0;
    for (const korvane::TableEntry& e : table.variables) held += e.data.size();
    if (held > table.variables.size() * size) std::abort();
    for (const korvane::TableEntry* e : table.programs()) {
        const korvane::Bytes single = korvane::singleVariableFile(table, *e);
        if (single.size() != e->data.size() + 90) std::abort();
        const korvane::OpenedFile opened = korvane::readProgram(file, e->qualifiedName());
        if (!opened.ok() && opened.reason.empty()) std::abort();
    }
    return 0;
}
