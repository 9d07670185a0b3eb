// korvane-tool's commands for programs kept as text: format re-indents a program by
// its blocks in its own file and form; build packs a folder of program text files
// into one group file; syntax prints the KSyntaxHighlighting definition.
#include "app/ToolFormat.h"

#include <algorithm>
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
// from those of the text as it stands.
Bytes formattedTokenizedFile(const std::string& path, const Bytes& file, const Arguments& args) {
    const VariableRecord record = splitVariableFile(file);
    if (!record.ok()) throw Failure{path + ": " + record.error};
    const DetokenizeResult shown = detokenize(record.data);
    if (!shown.ok()) throw Failure{path + ": " + shown.error};
    VariableFlags flags = flagsForHeader(record.header, 0, shown.oneExpression);
    const std::string text = editorTextOf(shown.text);
    const TokenizeResult before = tokenize(text, flags);
    const TokenizeResult after = tokenize(indentProgram(text, stepOf(args, text)), flags);
    if (!before.ok() || !after.ok() || before.data.size() != record.data.size() || after.data.size() != before.data.size())
        throw Failure{path + ": its tokens do not come back from its text, so it is left as it is"};
    // The file's own bytes are patched where it holds the data, after its size
    // word, so that its header and anything else stay as they are; the check sum
    // that follows the data moves by what the patched bytes add.
    const size_t size = record.data.size();
    const Bytes sizeWord{static_cast<char>((size >> 8) & 0xFF), static_cast<char>(size & 0xFF)};
    const size_t at = file.find(sizeWord + record.data);
    const auto byte = [&](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(file[i])); };
    const size_t check = at + 2 + size;
    if (at == std::string::npos || check + 2 > file.size())
        throw Failure{path + ": its variable data is not where its table puts it, so it is left as it is"};
    Bytes out = file;
    unsigned sum = byte(check) | byte(check + 1) << 8;
    for (size_t i = 0; i < size; ++i) {
        if (before.data[i] == after.data[i]) continue;
        sum += static_cast<unsigned char>(after.data[i]) - byte(at + 2 + i);
        out[at + 2 + i] = after.data[i];
    }
    out[check] = static_cast<char>(sum & 0xFF);
    out[check + 1] = static_cast<char>((sum >> 8) & 0xFF);
    return out;
}

Bytes formattedVariableFile(const std::string& path, const Bytes& file, const Arguments& args) {
    const OpenedFile opened = readProgram(file, {});
    if (!opened.ok()) throw Failure{path + ": " + opened.reason};
    if (!opened.wholeFile) throw Failure{path + ": it holds several variables; format each in its own file"};
    if (opened.tokenized) return formattedTokenizedFile(path, file, args);
    const VariableFileContent& c = opened.content;
    const std::string text = editorTextOf(c.programText);
    const BuildResult built = buildVariableFile({nameFieldOf(c), c.folder, indentProgram(text, stepOf(args, text)),
                                                 c.header, c.trailer, opened.oneExpression});
    if (!built.ok()) throw Failure{path + ": " + built.error};
    return built.bytes;
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
