// korvane-tool: the editor's file rules on the command line, for scripts and tests.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "editor/CharTable.h"
#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"
#include "files/Detokenizer.h"
#include "files/Document.h"
#include "files/FileFlows.h"
#include "files/LinkText.h"
#include "shell/Languages.h"
#include "files/SyntaxCheck.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"
#include "shell/IniStore.h"
#include "app/ToolFormat.h"
#include "files/ProgramTextFile.h"
#include "app/ToolSupport.h"

namespace korvane::tool {
int cmdLsp(const Arguments& args);  // ToolLsp.cpp
}

namespace {

using namespace korvane;
using namespace korvane::tool;

const char* const kUsageText =
    "usage: korvane-tool info FILE [--var FOLDER\\NAME]\n"
    "       korvane-tool list FILE\n"
    "       korvane-tool text FILE [--raw] [--var FOLDER\\NAME]\n"
    "       korvane-tool pack [--function] [--name NAME] [--folder FOLDER] [--tokenize] [--raw] IN|- OUT\n"
    "       korvane-tool convert [--tokenize] [--canonical] [--var FOLDER\\NAME] IN OUT\n"
    "       korvane-tool colour IN [--size N]\n"
    "       korvane-tool check [--var FOLDER\\NAME] FILE...\n"
    "       korvane-tool import TXT OUT [--tokenize]\n"
    "       korvane-tool export FILE TXT [--var FOLDER\\NAME]\n"
    "       korvane-tool send FILE [--var FOLDER\\NAME] [--run [--args ARGS]] [LINK OPTIONS]\n"
    "       korvane-tool ls [--all] [LINK OPTIONS]\n"
    "       korvane-tool recv FOLDER\\NAME OUT [LINK OPTIONS]\n"
    "       korvane-tool run FOLDER\\NAME [--args ARGS] [LINK OPTIONS]\n"
    "       korvane-tool screen OUT.png [--full] [--grey] [LINK OPTIONS]\n"
    "       korvane-tool rm FOLDER\\NAME [LINK OPTIONS]\n"
    "       korvane-tool backup OUT [LINK OPTIONS]\n"
    "       korvane-tool format FILE [--indent N] [--check]\n"
    "       korvane-tool build DIR OUT.89g\n"
    "       korvane-tool syntax\n"
    "       korvane-tool lsp\n"
    "       korvane-tool --version\n";

// What --help adds to the usage lines: one line per command.
const char* const kCommandsText =
    "\n"
    "commands:\n"
    "  info     variable name, folder, argument list, type byte, kind, form and sizes of a variable file\n"
    "  list     one line per program or function of a single or group file: folder\\name, kind, form, size\n"
    "  text     the program as the editor shows it, in UTF-8 (--raw: the calculator's bytes)\n"
    "  pack     a variable file from text as `text` prints it: the name line (FOLDER\\NAME(ARGS) or NAME(ARGS)),\n"
    "           then Prgm or Func ... EndPrgm or EndFunc; IN - reads standard input; UTF-8, else the link\n"
    "           software's 8-bit codes; the extension of OUT gives the signature; what text or check\n"
    "           would refuse is not written\n"
    "  convert  reads a variable file as the editor reads it and writes it as the editor writes it\n"
    "  colour   the colouring document of the editor text in a file\n"
    "  check    whether the calculator takes each program: FILE: ok, or FILE:LINE: the first error;\n"
    "           a program text file (.68kb) counts its lines as written\n"
    "  import   a variable file from a TI link software text export (\\START92\\ ... \\STOP92\\)\n"
    "  export   a variable file as the TI link software's text export\n"
    "  send     sends a file's variable, or each member of a group file, to the calculator as the file\n"
    "           stores it; --run then runs the program or function with ARGS between its parentheses\n"
    "  ls       one line per program or function on the calculator: FOLDER\\NAME KIND SIZE; --all: every\n"
    "           variable, FOLDER\\NAME TYPE SIZE FLAGS (-, L locked, A archived, LA)\n"
    "  recv     receives a variable of the calculator into a single-variable file of its type\n"
    "  run      runs a program or function of the calculator on its home screen, typed as its keys\n"
    "  screen   the calculator's screen as a PNG, black on white (--grey: 8-bit greyscale); --full keeps\n"
    "           the TI-89's hidden part (240 x 128)\n"
    "  rm       deletes a variable of the calculator\n"
    "  backup   every variable of the calculator into one group file (.89g, .9xg or .v2g by model)\n"
    "  format   re-indents the program by its blocks, N spaces a level (by default the step the file uses,\n"
    "           else 1), in place and in the file's own form (.68kb text, text-form or tokenized variable);\n"
    "           only leading spaces change; --check writes nothing and exits with 1 when FILE is not indented\n"
    "  build    every program text file (*.68kb) of DIR, tokenized, in one group file; the folder of each\n"
    "           is its name line's (else main); nothing is written when one is refused\n"
    "  syntax   the KSyntaxHighlighting definition (Kate) of program text files, from the colouring's keywords\n"
    "  lsp      a language server (LSP 3.17) on standard input and output, for programs as `text` prints them\n"
    "\n"
    "link options: --calc ti89|ti89t|ti92p|v200  --cable silverlink|directlink|graylink|blacklink|parallel|tiemu\n"
    "              --port 1-4  --timeout SECONDS (per packet, 2 by default)\n"
    "Without them the settings file's Calc, Cable and Port keys are used, else ti89, silverlink, port 1.\n"
    "\n"
    "A file holding several programs or functions (a group file) needs --var to pick one.\n"
    "Bad input gives one line on stderr and exit status 1; a usage error exits with 2.\n";

// A variable read the way the editor reads it: its pieces and editor text.
struct LoadedFile {
    VariableFileContent content;
    std::string editorText;
    bool tokenized = false;
    bool oneExpression = false;
    bool wholeFile = true;  // the file holds this variable alone
    Bytes single;  // the variable's single-variable file, as the table gives it
    std::string nameField() const { return content.name + "(" + content.arguments + ")"; }
};

// Reads the program or function `wanted` (or the only one) of a calculator file as
// the editor opens it: a tokenized one is first turned into its text form.
LoadedFile load(const std::string& path, const std::string& wanted) {
    const VariableTable table = readVariableTable(readInput(path));
    const OpenedFile opened = readProgram(table, utf8ToCalc(wanted));
    if (!opened.ok()) throw Failure{path + ": " + calcToUtf8(opened.reason)};
    LoadedFile file;
    file.single = singleVariableFile(table, *chooseProgram(table, utf8ToCalc(wanted)).entry);
    file.content = opened.content;
    file.tokenized = opened.tokenized;
    file.oneExpression = opened.oneExpression;
    file.wholeFile = opened.wholeFile;
    file.editorText = editorTextOf(file.content.programText);
    return file;
}

LoadedFile load(const std::string& path, const Arguments& args) { return load(path, args.value("--var").value_or("")); }

std::string kindOf(const LoadedFile& file) {
    const Bytes& t = file.content.trailer;
    if (t.size() == kTrailerSize && static_cast<unsigned char>(t[3]) == 0x17) return "function";
    if (t.size() == kTrailerSize && static_cast<unsigned char>(t[3]) == 0x19) return "program";
    return "unknown";
}

void writeDocument(const std::string& path, const std::string& nameField, const std::string& folder,
                   const std::string& editorText, const Bytes& header, const Bytes& trailer, bool tokenize,
                   bool oneExpression = false) {
    BuildResult built = buildVariableFile({nameField, folder, editorText, header, trailer});
    if (built.ok() && tokenize) built = tokenizeVariableFile(built.bytes, oneExpression);
    if (!built.ok()) throw Failure{path + ": " + built.error};
    writeOutput(path, built.bytes);
}

int cmdInfo(const Arguments& args) {
    if (args.positional.size() != 1) return usage("info takes one file");
    const LoadedFile file = load(args.positional[0], args);
    const Bytes& bytes = file.single;
    const Bytes& h = bytes;  // the sizes and type as the file itself holds them
    const auto u8 = [](const Bytes& b, size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(b[i])); };
    char type[8];
    std::snprintf(type, sizeof type, "0x%02X", u8(h, 72));
    std::cout << "name: " << calcToUtf8(file.content.name) << "\n"
              << "folder: " << calcToUtf8(file.content.folder) << "\n"
              << "arguments: (" << calcToUtf8(file.content.arguments) << ")\n"
              << "type: " << type << "\n"
              << "kind: " << kindOf(file) << "\n"
              << "form: " << (file.tokenized ? "tokenized" : "text") << "\n"
              << "file size: " << bytes.size() << " bytes (header says " << (u8(h, 76) | (u8(h, 77) << 8)) << ")\n"
              << "variable size: " << ((u8(h, 86) << 8) | u8(h, 87)) << " bytes\n";
    return 0;
}

int cmdList(const Arguments& args) {
    if (args.positional.size() != 1) return usage("list takes one file");
    const std::string& path = args.positional[0];
    const ProgramListing listing = listPrograms(readInput(path));
    if (!listing.ok()) throw Failure{path + ": " + listing.error};
    for (const TableEntry* e : listing.programs()) std::cout << calcToUtf8(describeEntry(*e)) << "\n";
    return 0;
}

int cmdText(const Arguments& args) {
    if (args.positional.size() != 1) return usage("text takes one file");
    const std::string& path = args.positional[0];
    std::string shown;
    if (isProgramTextPath(path)) {
        // A program text file is shown as it reads: its name line, then the program.
        const ProgramText text = readProgramText(readInput(path), path);
        if (!text.ok()) throw Failure{path + ": " + text.error};
        shown = (text.folder.empty() ? "" : text.folder + "\\") + text.nameField + text.editorText;
    } else {
        const LoadedFile file = load(path, args);
        shown = file.nameField() + file.editorText;
    }
    if (args.has("--raw")) std::cout << shown;
    else std::cout << calcToUtf8(shown) << "\n";
    return 0;
}

// The first word of a line, without its leading blanks.
std::string firstWordOf(const std::string& line) {
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    return line.substr(start, line.find_first_of(" :", start) - start);
}

bool sameLetters(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// Text as `text` prints it, in calculator codes with CR LF line breaks: the name
// line ("name(args)", or "folder\name(args)"), then the editor text.
struct PackedText {
    std::string nameField;
    std::string folder;
    std::string editorText;
    bool function = false;
    bool program = false;  // the second line says Prgm
};

PackedText packedTextOf(std::string text) {
    // The line break that ends the printed text, and any after it, are no part of the program.
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    PackedText packed;
    const size_t firstBreak = text.find("\r\n");
    const std::string firstLine = text.substr(0, firstBreak);
    const std::string firstWord = firstWordOf(firstLine);
    if (firstLine.empty() || sameLetters(firstWord, "Prgm") || sameLetters(firstWord, "Func")) {
        // No name line: the text starts with the program itself.
        packed.editorText = firstLine.empty() ? text : "\r\n" + text;
    } else {
        packed.nameField = firstLine;
        packed.editorText = firstBreak == std::string::npos ? std::string() : text.substr(firstBreak);
        const size_t slash = packed.nameField.find('\\');
        if (slash != std::string::npos && slash < packed.nameField.find('(')) {
            packed.folder = packed.nameField.substr(0, slash);
            packed.nameField.erase(0, slash + 1);
        }
    }
    const size_t second = packed.editorText.find("\r\n");
    const size_t secondEnd = second == std::string::npos ? second : packed.editorText.find("\r\n", second + 2);
    if (second != std::string::npos) {
        const std::string kindWord = firstWordOf(packed.editorText.substr(second + 2, secondEnd - second - 2));
        packed.function = sameLetters(kindWord, "Func");
        packed.program = sameLetters(kindWord, "Prgm");
    }
    return packed;
}

// Why korvane-tool's own `text` or `check` would refuse a file it is about to
// write ("LINE: why" or " why", to follow "FILE:"), or an empty text.
std::string refusalOf(const Bytes& file) {
    const OpenedFile opened = readProgram(readVariableTable(file), {});
    if (!opened.ok()) return " " + calcToUtf8(opened.reason);
    const VariableFileContent& c = opened.content;
    const SyntaxCheck check = checkSyntax({c.name + "(" + c.arguments + ")", c.folder, editorTextOf(c.programText),
                                          c.header, c.trailer, opened.oneExpression});
    if (check.ok) return {};
    return (check.line > 0 ? std::to_string(check.line) + ": " : std::string(" ")) + calcToUtf8(check.message);
}

int cmdPack(const Arguments& args) {
    if (args.positional.size() != 2) return usage("pack takes an input and an output file");
    const std::string& in = args.positional[0];
    const std::string& out = args.positional[1];
    const Bytes input = readInput(in);
    const bool raw = args.has("--raw");
    std::string text;
    if (raw) {
        text = normaliseLineBreaks(input);
    } else {
        OutsideText decoded = readOutsideText(input);
        if (!decoded.ok()) throw Failure{in + ": " + decoded.error};
        text = std::move(decoded.text);
    }
    PackedText packed = packedTextOf(std::move(text));
    auto fromArgument = [raw](const std::string& option, const std::string& value) {
        if (raw) return value;
        OutsideText decoded = readOutsideText(value);
        if (!decoded.ok()) throw Failure{option + ": " + decoded.error};
        return decoded.text;
    };
    if (const auto name = args.value("--name")) {
        // A name without its arguments keeps those of the name line.
        std::string field = fromArgument("--name", *name);
        const size_t paren = packed.nameField.find('(');
        if (field.find('(') == std::string::npos && paren != std::string::npos) field += packed.nameField.substr(paren);
        packed.nameField = field;
    }
    if (packed.nameField.empty()) packed.nameField = kNewName;
    if (packed.nameField.find('(') == std::string::npos) packed.nameField += "()";
    if (const auto folder = args.value("--folder")) packed.folder = fromArgument("--folder", *folder);
    if (packed.folder.empty()) packed.folder = kNewFolder;
    if (args.has("--function") && packed.program) throw Failure{in + ": --function, but the text is a program (Prgm)"};
    const bool function = args.has("--function") || packed.function;

    Bytes header = headerForTarget(newDocumentHeader(), out, true);
    if (function) header[layout::kType] = static_cast<char>(kFunctionTypeId);
    BuildResult built = buildVariableFile({packed.nameField, packed.folder, packed.editorText, header,
                                           trailerFor(function ? ProgramKind::Function : ProgramKind::Program)});
    if (built.ok() && args.has("--tokenize")) built = tokenizeVariableFile(built.bytes);
    if (!built.ok()) throw Failure{in + ": " + calcToUtf8(built.error)};
    if (const std::string refusal = refusalOf(built.bytes); !refusal.empty())
        throw Failure{in + ":" + refusal + " (" + out + " not written)"};
    writeOutput(out, built.bytes);
    return 0;
}

int cmdConvert(const Arguments& args) {
    if (args.positional.size() != 2) return usage("convert takes an input and an output file");
    LoadedFile file = load(args.positional[0], args);
    // A file of several variables is never rewritten with one of them alone.
    std::error_code ec;
    if (!file.wholeFile && std::filesystem::equivalent(args.positional[0], args.positional[1], ec))
        throw Failure{args.positional[1] + ": it holds other variables beside " + calcToUtf8(file.content.name) +
                      ", which writing it alone would lose"};
    if (args.has("--canonical")) {
        // Keywords take their canonical form exactly as the editor's recolouring gives it.
        MemoryEditor editor(file.editorText);
        int posCurseur = 0;
        colorierTout(editor, posCurseur, "10");
        file.editorText = editor.text();
    }
    writeDocument(args.positional[1], file.nameField(), file.content.folder, file.editorText, file.content.header,
                  file.content.trailer, args.has("--tokenize"), file.oneExpression);
    return 0;
}

std::string extensionOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? std::string() : path.substr(dot);
}

// The extension of the variable's own single file: a group's member takes its
// family's program or function extension (".92g" gives ".92p" or ".92f").
std::string singleFileExtension(const std::string& path, const LoadedFile& file) {
    std::string extension = extensionOf(path);
    if (extension.size() != 4 || (extension.back() != 'g' && extension.back() != 'G')) return extension;
    const bool upper = extension.back() == 'G';
    const char letter = kindOf(file) == "function" ? 'f' : 'p';
    extension.back() = upper ? static_cast<char>(std::toupper(letter)) : letter;
    return extension;
}

// Variable files are checked as the editor opens them; a link software export as
// it imports.
int cmdCheck(const Arguments& args) {
    if (args.positional.empty()) return usage("check takes one or more files");
    int status = 0;
    for (const std::string& path : args.positional) {
        SyntaxCheck c;
        try {
            const Bytes bytes = readInput(path);
            if (bytes.rfind("\\START92\\", 0) == 0 || bytes.rfind("\xEF\xBB\xBF\\START92\\", 0) == 0) {
                const LinkTextResult r = readLinkText(bytes);
                if (!r.ok()) throw Failure{path + ": " + r.error};
                c = checkSyntax(documentOfLinkText(r.text, false));
            } else if (isProgramTextPath(path)) {
                const ProgramText text = readProgramText(bytes, path);
                if (!text.ok()) throw Failure{path + ": " + text.error};
                Bytes header = newDocumentHeader();
                if (text.kind == ProgramKind::Function) header[layout::kType] = static_cast<char>(kFunctionTypeId);
                c = checkSyntax({text.nameField, text.folder.empty() ? std::string(kNewFolder) : text.folder,
                                 text.editorText, header, trailerFor(text.kind)});
            } else {
                const LoadedFile file = load(path, args);
                c = checkSyntax({file.nameField(), file.content.folder, file.editorText, file.content.header,
                                 file.content.trailer, file.oneExpression});
            }
        } catch (const Failure& f) {
            std::cout << f.message << "\n";
            status = kBadInput;
            continue;
        }
        if (c.ok) {
            std::cout << path << ": ok\n";
        } else {
            std::cout << path << ":" << (c.line > 0 ? std::to_string(c.line) + ":" : std::string()) << " "
                      << calcToUtf8(c.message) << "\n";
            status = kBadInput;
        }
    }
    return status;
}

int cmdImport(const Arguments& args) {
    if (args.positional.size() != 2) return usage("import takes a text file and an output file");
    const std::string& in = args.positional[0];
    const LinkTextResult r = readLinkText(readInput(in));
    if (!r.ok()) throw Failure{in + ": " + r.error};
    const std::string& out = args.positional[1];
    const VariableFileInput d = documentOfLinkText(r.text, false);
    writeDocument(out, d.nameField, d.folderField, d.editorText, headerForTarget(d.variableHeader, out, true),
                  d.variableTrailer, args.has("--tokenize"));
    return 0;
}

int cmdExport(const Arguments& args) {
    if (args.positional.size() != 2) return usage("export takes a variable file and a text file");
    const LoadedFile file = load(args.positional[0], args);
    writeOutput(args.positional[1],
                writeLinkText(linkTextOf(file.content, file.editorText, singleFileExtension(args.positional[0], file))));
    return 0;
}

int cmdColour(const Arguments& args) {
    if (args.positional.size() != 1) return usage("colour takes one file");
    const std::string size = args.value("--size").value_or("10");
    const std::string text = normaliseLineBreaks(readInput(args.positional[0]));
    std::cout << coloriserDocument(text, ColourTable{}, size);
    return 0;
}

std::vector<Command> commands() {
    std::vector<Command> all = {
        {"info", {}, {"--var"}, cmdInfo},
        {"list", {}, {}, cmdList},
        {"text", {"--raw"}, {"--var"}, cmdText},
        {"pack", {"--function", "--tokenize", "--raw"}, {"--name", "--folder"}, cmdPack},
        {"convert", {"--tokenize", "--canonical"}, {"--var"}, cmdConvert},
        {"colour", {}, {"--size"}, cmdColour},
        {"color", {}, {"--size"}, cmdColour},
        {"check", {}, {"--var"}, cmdCheck},
        {"export", {}, {"--var"}, cmdExport},
        {"import", {"--tokenize"}, {}, cmdImport},
        {"lsp", {}, {}, cmdLsp},
    };
    for (Command& c : linkCommands()) all.push_back(std::move(c));
    for (Command& c : formatCommands()) all.push_back(std::move(c));
    return all;
}

}  // namespace

int korvane::tool::usage(const std::string& why) {
    if (!why.empty()) std::cerr << "korvane-tool: " << why << "\n";
    std::cerr << kUsageText;
    return kUsage;
}

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsageText << kCommandsText;
        return 0;
    }
    if (command == "--version") {
        std::cout << "korvane-tool " << versionNumber() << "\n";
        return 0;
    }
    for (const Command& c : commands()) {
        if (command != c.name) continue;
        std::string error;
        const std::optional<Arguments> args = parseArguments(argc, argv, c.flags, c.values, error);
        if (!args) return usage(error);
        try {
            return c.run(*args);
        } catch (const Failure& failure) {
            std::cerr << "korvane-tool: " << failure.message << "\n";
            return kBadInput;
        }
    }
    return usage("unknown command " + command);
}
