#include "files/FileFlows.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "editor/CharTable.h"
#include "files/ProgramTextFile.h"
#include "shell/WindowHelpers.h"

namespace korvane {
namespace fs = std::filesystem;

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string text) {
    for (char& c : text) c = lower(c);
    return text;
}

bool globMatches(std::string_view name, std::string_view glob) {
    // Iterative glob with backtracking to the last "*".
    size_t n = 0, g = 0, starG = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (g < glob.size() && (glob[g] == '?' || lower(glob[g]) == lower(name[n]))) {
            ++n;
            ++g;
        } else if (g < glob.size() && glob[g] == '*') {
            starG = g++;
            starN = n;
        } else if (starG != std::string_view::npos) {
            g = starG + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == '*') ++g;
    return g == glob.size();
}

std::string lastFour(const std::string& text) { return text.size() >= 4 ? text.substr(text.size() - 4) : text; }

// A unique empty file in `folder` named after "tmp89_M.dat"; empty on failure,
// with the reason in `error`.
std::string makeTemporaryFile(const std::string& folder, std::string& error) {
    std::string name = joinBrowserPath(folder.empty() ? "." : folder, "tmp89_M-XXXXXX.dat");
    const int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) {
        error = calcMessage(MessageId::TemporaryFileFailed, {utf8ToCalc(folder), utf8ToCalc(std::strerror(errno))});
        return {};
    }
    ::close(fd);
    return name;
}

// Deletes the temporary file when the routine leaves, whichever way it leaves.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        std::error_code ec;
        if (!path_.empty()) fs::remove(path_, ec);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

OpenedFile failed(OpenedFile::Failure failure, std::string reason) {
    OpenedFile result;
    result.failure = failure;
    result.reason = std::move(reason);
    return result;
}

}  // namespace

std::string saveFailureMessage(const std::string& path, const std::string& reason) {
    return message(MessageId::SaveFailed, {path, calcToUtf8(reason)});
}

std::string openFailureMessage(const std::string& path, const std::string& reason) {
    return message(MessageId::OpenFailed, {path, calcToUtf8(reason)});
}

bool matchesPattern(std::string_view fileName, std::string_view pattern) {
    size_t start = 0;
    while (start <= pattern.size()) {
        const size_t end = std::min(pattern.find(';', start), pattern.size());
        const std::string_view glob = pattern.substr(start, end - start);
        if (!glob.empty() && globMatches(fileName, glob)) return true;
        start = end + 1;
    }
    return false;
}

std::vector<std::string> typeListItems(ProgramKind kind) {
    if (kind == ProgramKind::Function)
        return {"Format Ti-89 (*.89f)", "Format Ti-92 (*.92f)", "Format Ti-92 Plus (*.9xf)", "Format Voyage 200 (*.v2f)",
                "Texte de programme (*.68kb)"};
    return {"Format Ti-89 (*.89p)", "Format Ti-92 (*.92p)", "Format Ti-92 Plus (*.9xp)", "Format Voyage 200 (*.v2p)",
            "Texte de programme (*.68kb)"};
}

std::string extensionOfTypeItem(const std::string& item) {
    const size_t open = item.find("(*");
    const size_t close = item.find(')', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos) return {};
    return item.substr(open + 2, close - open - 2);
}

Bytes signatureForExtension(const std::string& path) {
    const std::string extension = lowered(lastFour(path));
    if (extension.size() != 4 || extension.front() != '.') return {};
    const std::string family = extension.substr(1, 2);
    if (family == "89") return "**TI89**";
    if (family == "92" || family == "9x" || family == "v2") return "**TI92P*";
    return {};
}

Bytes headerForTarget(const Bytes& header, const std::string& path, bool newFile) {
    const Bytes signature = signatureForExtension(path);
    if (header.size() < 8 || signature.empty()) return header;
    // Saved again or saved as, a .89? or .92? file keeps what its header says.
    const std::string family = lowered(lastFour(path)).substr(1, 2);
    if (!newFile && (family == "89" || family == "92")) return header;
    Bytes out = header;
    out.replace(0, 8, signature);
    return out;
}

std::string nameWithoutExtension(const std::string& fileName) {
    if (isProgramTextPath(fileName)) return fileName.substr(0, fileName.size() - kProgramTextExtension.size());
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

std::string joinBrowserPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

bool needsSaveAsBrowser(const std::string& documentPath, bool toExistingPath) {
    return documentPath.empty() || !toExistingPath;
}

bool isOpenableFile(const std::string& path) {
    if (isProgramTextPath(path)) return true;
    const std::string extension = lastFour(path);
    return extension.size() == 4 && extension.front() == '.' && matchesPattern("x" + extension, kBrowserPattern);
}

std::optional<std::string> commandLineFile(const std::string& commandLine) {
    std::string path = commandLine;
    if (!path.empty() && path.front() == '"') path = cheminLong(path);
    if (!isOpenableFile(path)) return std::nullopt;
    return path;
}


std::string windowTitleFor(const std::string& documentPath) {
    if (documentPath.empty()) return "Korvane";
    return "Korvane - " + fs::path(documentPath).filename().string();
}


std::string nameFieldOf(const VariableFileContent& content) { return content.name + "(" + content.arguments + ")"; }

std::string saveProgramFile(const VariableFileInput& input, const std::string& target, bool tokenized,
                            const Detokenizer& detokenizer) {
    const BuildResult built = buildVariableFile(input);
    if (!built.ok()) return built.error;
    if (isProgramTextPath(target)) {
        const std::string text = programTextFileOf(input.nameField, input.folderField, input.editorText);
        if (std::string error = writeFileAtomically(target, text); !error.empty()) return utf8ToCalc(error);
        return {};
    }
    if (tokenized) {
        const BuildResult check = tokenizeVariableFile(built.bytes, input.oneExpression);
        if (!check.ok()) return check.error;
    }
    if (std::string error = writeFileAtomically(target, built.bytes); !error.empty()) return utf8ToCalc(error);
    if (!tokenized) return {};

    // The component rewrites the text file just written, in place.
    const DetokenizerAnswer first = detokenizer.HeaderString1(target);
    if (!first.ok()) return first.error;
    const DetokenizerAnswer second = detokenizer.HeaderString2(target);
    if (!second.ok()) return second.error;
    const DetokenizerAnswer text = detokenizer.ProgramText(target);
    if (!text.ok()) return text.error;
    return detokenizer.WriteVariable(target, first.value, second.value, text.value, 1, true, input.oneExpression);
}

ProgramListing listPrograms(const Bytes& file) {
    ProgramListing listing;
    listing.table = readVariableTable(file);
    if (!listing.table.ok()) {
        listing.error = listing.table.error;
        return listing;
    }
    if (listing.programs().empty()) listing.error = calcMessage(MessageId::NoProgramOrFunction);
    return listing;
}

std::string describeEntry(const TableEntry& entry) {
    return entry.qualifiedName() + "  " + kindWord(entry.type) + "  " + (isTextForm(entry.data) ? "text" : "tokenized") +
           "  " + std::to_string(entry.data.size() + 2) + " bytes";
}

OpenedFile readProgram(const Bytes& file, const std::string& wanted) {
    return readProgram(readVariableTable(file), wanted);
}

OpenedFile readProgram(const VariableTable& table, const std::string& wanted) {
    using Failure = OpenedFile::Failure;
    if (!table.ok()) return failed(Failure::Damaged, table.error);
    const ChosenEntry chosen = chooseProgram(table, wanted);
    if (!chosen.ok()) return failed(Failure::Damaged, chosen.error);
    const TableEntry& entry = *chosen.entry;
    OpenedFile result;
    result.wholeFile = table.variables.size() == 1;
    Bytes single;
    if (isTextForm(entry.data)) {
        single = singleVariableFile(table, entry);
    } else {
        const DetokenizeResult d = detokenize(entry.data);
        if (!d.ok()) return failed(Failure::Detokenization, d.error);
        BuildResult text = textFormFile(singleVariableHeader(table, entry), entry.data, d);
        if (!text.ok()) return failed(Failure::Detokenization, text.error);
        single = std::move(text.bytes);
        result.tokenized = true;
        result.oneExpression = d.oneExpression;
    }
    ParseResult read = parseVariableFile(single);
    if (!read.ok()) return failed(result.tokenized ? Failure::Detokenization : Failure::Damaged, read.error);
    result.content = std::move(read.content);
    return result;
}

OpenedFile readProgramTextFile(const Bytes& file, const std::string& path) {
    const ProgramText text = readProgramText(file, path);
    if (!text.ok()) return failed(OpenedFile::Failure::Damaged, text.error);
    Bytes header = newDocumentHeader();
    if (text.kind == ProgramKind::Function) header[layout::kType] = static_cast<char>(kFunctionTypeId);
    const BuildResult built = buildVariableFile({text.nameField, text.folder.empty() ? std::string(kNewFolder) : text.folder,
                                                 text.editorText, header, trailerFor(text.kind)});
    if (!built.ok()) return failed(OpenedFile::Failure::Damaged, built.error);
    const ParseResult read = parseVariableFile(built.bytes);
    if (!read.ok()) return failed(OpenedFile::Failure::Damaged, read.error);
    OpenedFile opened;
    opened.content = read.content;
    return opened;
}

std::string readCalculatorFile(const std::string& path, Bytes& file) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (!ec && size > static_cast<std::uintmax_t>(kLargestReadableFile))
        return calcMessage(MessageId::FileTooLarge, {size});
    return utf8ToCalc(readWholeFile(path, file));
}

OpenedFile openProgramFile(const std::string& path, const Detokenizer& detokenizer,
                           const std::string& temporaryFolder, const std::string& wanted) {
    Bytes file;
    if (std::string error = readCalculatorFile(path, file); !error.empty())
        return failed(OpenedFile::Failure::Damaged, error);
    return openProgramData(readVariableTable(file), detokenizer, temporaryFolder, wanted);
}

OpenedFile openProgramData(const VariableTable& table, const Detokenizer& detokenizer,
                           const std::string& temporaryFolder, const std::string& wanted) {
    using Failure = OpenedFile::Failure;
    OpenedFile result = readProgram(table, wanted);
    if (!result.ok() || !result.tokenized) return result;

    // A tokenized variable goes through the text form on disk, as the component
    // writes it, and is read back from there.
    std::string error;
    const TemporaryFile source(makeTemporaryFile(temporaryFolder, error));
    if (source.path().empty()) return failed(Failure::Detokenization, error);
    error = detokenizer.WriteVariable(source.path(), result.content.header, headerString2Of(result.content.trailer),
                                      "(" + result.content.arguments + ")" + result.content.programText, 1, false);
    if (!error.empty()) return failed(Failure::Detokenization, error);
    ParseResult read = readVariableFile(source.path());
    if (!read.ok()) return failed(Failure::Detokenization, read.error);
    result.content = std::move(read.content);
    return result;
}

std::string systemTemporaryFolder() {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec);
    return ec ? std::string("/tmp") : folder.string();
}

}  // namespace korvane
