// korvane-tool's commands for programs kept as text: format re-indents a program by
// its blocks in its own file and form; build packs a folder of program text files
// into one group file; syntax prints the KSyntaxHighlighting definition.
#include "app/ToolFormat.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "editor/Indent.h"
#include "editor/SyntaxDefinition.h"
#include "editor/CharTable.h"
#include "files/Detokenizer.h"
#include "files/FileFlows.h"
#include "files/GroupFile.h"
#include "files/LinkText.h"
#include "files/ProgramTextFile.h"
#include "files/TokenTable.h"
#include "files/Tokens.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"

namespace korvane::tool {
namespace {

constexpr int kLargestStep = 255;

// The lines of a text: CR LF and CR each end one, and LF alone when
// `lineFeedEnds` (in a file; in calculator codes it is a character of its line).
struct WrittenLine {
    std::string text;
    std::string lineBreak;
};
std::vector<WrittenLine> writtenLines(const std::string& bytes, bool lineFeedEnds) {
    std::vector<WrittenLine> lines(1);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && (c != '\n' || !lineFeedEnds)) {
            lines.back().text += c;
            continue;
        }
        lines.back().lineBreak = c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? "\r\n" : std::string(1, c);
        i += lines.back().lineBreak.size() - 1;
        lines.emplace_back();
    }
    return lines;
}

size_t leadingSpaces(const std::string& line) {
    const size_t n = line.find_first_not_of(' ');
    return n == std::string::npos ? line.size() : n;
}

int stepOf(const Arguments& args, const std::string& editorText) {
    const auto given = args.value("--indent");
    if (!given) return indentStepOf(editorText);
    size_t used = 0;
    int step = -1;
    try {
        step = std::stoi(*given, &used);
    } catch (const std::exception&) {
    }
    if (used != given->size() || step < 0 || step > kLargestStep)
        throw Failure{"--indent takes a count of spaces from 0 to " + std::to_string(kLargestStep) + ", not " + *given};
    return step;
}

// A program text file with each line's leading spaces those of the indented
// program, every other byte as written (its UTF-8, its line breaks).
Bytes formattedProgramText(const std::string& path, const Bytes& file, const Arguments& args) {
    const OutsideText decoded = readOutsideText(file);
    if (!decoded.ok()) throw Failure{path + ": " + decoded.error};
    const std::string bom = file.rfind("\xEF\xBB\xBF", 0) == 0 ? "\xEF\xBB\xBF" : "";
    const std::vector<WrittenLine> written = writtenLines(file.substr(bom.size()), true);
    const std::vector<WrittenLine> indented =
        writtenLines(indentProgram(decoded.text, stepOf(args, decoded.text)), false);
    if (written.size() != indented.size()) throw Failure{path + ": its lines could not be told apart"};
    Bytes out = bom;
    for (size_t i = 0; i < written.size(); ++i) {
        const std::string body = written[i].text.substr(leadingSpaces(written[i].text));
        if (!body.empty()) out.append(leadingSpaces(indented[i].text), ' ');
        out += body + written[i].lineBreak;
    }
    return out;
}

// A tokenized variable keeps its bytes but the count of leading spaces that each
// line break tag stores: the bytes in which the tokens of the indented text differ
// from those of the text as it stands. They are patched where the file holds the
// data (after its size word, from `from` on), so that its header, its other
// variables and anything else stay as they are; the check sum that follows the
// data moves by what the patched bytes add. Returns the end of the variable's block.
size_t patchIndents(const std::string& where, Bytes& out, size_t from, const TableEntry& entry, const Arguments& args) {
    const DetokenizeResult shown = detokenize(entry.data);
    if (!shown.ok()) throw Failure{where + ": " + shown.error};
    const VariableFlags flags = flagsForHeader(out, 0, shown.oneExpression);
    const std::string text = editorTextOf(shown.text);
    const TokenizeResult before = tokenize(text, flags);
    const TokenizeResult after = tokenize(indentProgram(text, stepOf(args, text)), flags);
    const size_t size = entry.data.size();
    if (!before.ok() || !after.ok() || before.data.size() != size || after.data.size() != size)
        throw Failure{where + ": its tokens do not come back from its text, so it is left as it is"};
    const Bytes sizeWord{static_cast<char>((size >> 8) & 0xFF), static_cast<char>(size & 0xFF)};
    const size_t at = out.find(sizeWord + entry.data, from);
    const size_t check = at + 2 + size;
    if (at == std::string::npos || check + 2 > out.size())
        throw Failure{where + ": its variable data is not where its table puts it, so it is left as it is"};
    const auto byte = [&](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(out[i])); };
    unsigned sum = byte(check) | byte(check + 1) << 8;
    for (size_t i = 0; i < size; ++i) {
        if (before.data[i] == after.data[i]) continue;
        sum += static_cast<unsigned char>(after.data[i]) - byte(at + 2 + i);
        out[at + 2 + i] = after.data[i];
    }
    out[check] = static_cast<char>(sum & 0xFF);
    out[check + 1] = static_cast<char>((sum >> 8) & 0xFF);
    return check + 2;
}

std::uint32_t dwordAt(const Bytes& b, size_t i) {
    return static_cast<unsigned char>(b[i]) | static_cast<unsigned char>(b[i + 1]) << 8 |
           static_cast<unsigned char>(b[i + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(b[i + 3])) << 24;
}

void putDword(Bytes& b, size_t i, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[i + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

// A text-form member of a file laid out as a table (VariableTable.h) gets the data
// of its indented text: its block is replaced, and the blocks after it, which move,
// have their offsets and the file's size follow. Returns the end of its block.
size_t replaceTextForm(const std::string& where, Bytes& out, size_t from, const VariableTable& table,
                       const TableEntry& entry, const Arguments& args) {
    const OpenedFile opened = readProgram(table, entry.qualifiedName());
    if (!opened.ok()) throw Failure{where + ": " + calcToUtf8(opened.reason)};
    const VariableFileContent& c = opened.content;
    const std::string text = editorTextOf(c.programText);
    const BuildResult built = buildVariableFile({nameFieldOf(c), c.folder, indentProgram(text, stepOf(args, text)),
                                                 c.header, c.trailer, opened.oneExpression});
    const VariableRecord record = built.ok() ? splitVariableFile(built.bytes) : VariableRecord{};
    if (!built.ok() || !record.ok()) throw Failure{where + ": " + calcToUtf8(built.ok() ? record.error : built.error)};
    const Bytes& data = record.data;
    const size_t size = entry.data.size();
    const Bytes sizeWord{static_cast<char>((size >> 8) & 0xFF), static_cast<char>(size & 0xFF)};
    const size_t at = out.find(sizeWord + entry.data, from);
    const size_t count = static_cast<unsigned char>(out[0x3A]) | static_cast<unsigned char>(out[0x3B]) << 8;
    const size_t tableEnd = 0x3C + 16 * count;
    if (at == std::string::npos || at + 2 + size + 2 > out.size() || tableEnd + 4 > at || data.size() > 0xFFFF)
        throw Failure{where + ": its variable data is not where its table puts it, so it is left as it is"};
    Bytes block{static_cast<char>((data.size() >> 8) & 0xFF), static_cast<char>(data.size() & 0xFF)};
    block += data;
    unsigned sum = 0;
    for (char ch : block) sum += static_cast<unsigned char>(ch);
    block += static_cast<char>(sum & 0xFF);
    block += static_cast<char>((sum >> 8) & 0xFF);
    const long delta = static_cast<long>(data.size()) - static_cast<long>(size);
    out.replace(at, size + 4, block);
    // The block starts four bytes before its size word; those after it move.
    for (size_t k = 0; k < count; ++k) {
        const size_t e = 0x3C + 16 * k;
        if (dwordAt(out, e) > at - 4) putDword(out, e, static_cast<std::uint32_t>(dwordAt(out, e) + delta));
    }
    putDword(out, tableEnd, static_cast<std::uint32_t>(dwordAt(out, tableEnd) + delta));
    return at + block.size();
}

// A variable file: a text-form variable alone is written again with its new text;
// every tokenized program of a file, single or group, is patched in place, and a
// text-form member of a group file gets its block anew.
Bytes formattedVariableFile(const std::string& path, const Bytes& file, const Arguments& args) {
    const VariableTable table = readVariableTable(file);
    if (!table.ok()) throw Failure{path + ": " + calcToUtf8(table.error)};
    const std::vector<const TableEntry*> programs = table.programs();
    if (programs.empty()) throw Failure{path + ": it holds no program or function"};
    if (table.variables.size() == 1 && isTextForm(programs.front()->data)) {
        const OpenedFile opened = readProgram(table, {});
        if (!opened.ok()) throw Failure{path + ": " + calcToUtf8(opened.reason)};
        const VariableFileContent& c = opened.content;
        const std::string text = editorTextOf(c.programText);
        const BuildResult built = buildVariableFile({nameFieldOf(c), c.folder, indentProgram(text, stepOf(args, text)),
                                                     c.header, c.trailer, opened.oneExpression});
        if (!built.ok()) throw Failure{path + ": " + calcToUtf8(built.error)};
        return built.bytes;
    }
    Bytes out = file;
    size_t from = 0;
    for (const TableEntry* e : programs) {
        const std::string where = path + " (" + calcToUtf8(e->qualifiedName()) + ")";
        if (!isTextForm(e->data)) {
            from = patchIndents(where, out, from, *e, args);
            continue;
        }
        from = replaceTextForm(where, out, from, table, *e, args);
    }
    return out;
}

bool isVariableFile(const Bytes& file) { return file.rfind("**TI", 0) == 0 || file.rfind("**V200", 0) == 0; }

int cmdFormat(const Arguments& args) {
    if (args.positional.size() != 1) return usage("format takes one file");
    const std::string& path = args.positional[0];
    const Bytes file = readInput(path);
    const Bytes formatted =
        isVariableFile(file) ? formattedVariableFile(path, file, args) : formattedProgramText(path, file, args);
    if (formatted == file) return 0;
    if (args.has("--check")) {
        std::cout << path << ": not indented by its blocks\n";
        return kBadInput;
    }
    writeOutput(path, formatted);
    return 0;
}

// One program text file as a group member: tokenized, under the folder of its name
// line (else "main").
TableEntry memberOf(const std::string& path, const std::string& groupPath) {
    const ProgramText text = readProgramText(readInput(path), path);
    if (!text.ok()) throw Failure{path + ": " + text.error + " (" + groupPath + " not written)"};
    const std::string folder = text.folder.empty() ? std::string(kNewFolder) : text.folder;
    Bytes header = newDocumentHeader();
    if (text.kind == ProgramKind::Function) header[layout::kType] = static_cast<char>(kFunctionTypeId);
    BuildResult built = buildVariableFile({text.nameField, folder, text.editorText, header, trailerFor(text.kind)});
    if (built.ok()) built = tokenizeVariableFile(built.bytes);
    if (!built.ok()) throw Failure{path + ": " + calcToUtf8(built.error) + " (" + groupPath + " not written)"};
    const VariableTable table = readVariableTable(built.bytes);
    if (!table.ok() || table.variables.size() != 1) throw Failure{path + ": " + calcToUtf8(table.error)};
    return table.variables.front();
}

int cmdBuild(const Arguments& args) {
    if (args.positional.size() != 2) return usage("build takes a folder and a group file");
    const std::string& folder = args.positional[0];
    const std::string& out = args.positional[1];
    const std::string signature = signatureForExtension(out);
    if (signature.empty() || std::tolower(static_cast<unsigned char>(out.back())) != 'g')
        throw Failure{out + ": a group file's name ends in .89g, .9xg, .v2g or .92g"};
    std::vector<std::string> paths;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (e.is_regular_file() && isProgramTextPath(e.path().string())) paths.push_back(e.path().string());
    if (ec) throw Failure{folder + ": " + ec.message()};
    if (paths.empty()) throw Failure{folder + ": no program text file (*" + std::string(kProgramTextExtension) + ")"};
    std::sort(paths.begin(), paths.end());
    std::vector<TableEntry> entries;
    std::set<std::string> names;
    for (const std::string& path : paths) {
        entries.push_back(memberOf(path, out));
        const std::string name = entries.back().qualifiedName();
        if (!names.insert(name).second)
            throw Failure{path + ": " + calcToUtf8(name) + " is named twice (" + out + " not written)"};
    }
    writeOutput(out, writeGroupFile(signature, entries));
    return 0;
}

int cmdSyntax(const Arguments& args) {
    if (!args.positional.empty()) return usage("syntax takes no file");
    std::cout << syntaxDefinition();
    return 0;
}

}  // namespace

std::vector<Command> formatCommands() {
    return {{"format", {"--check"}, {"--indent"}, cmdFormat}, {"build", {}, {}, cmdBuild}, {"syntax", {}, {}, cmdSyntax}};
}

}  // namespace korvane::tool
