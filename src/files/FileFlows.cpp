#include "files/FileFlows.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

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
        error = "the temporary file could not be created in " + folder + ": " + std::strerror(errno);
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
    return "Impossible d'enregistrer le fichier\n" + path + "\n" + reason;
}

std::string openFailureMessage(const std::string& path, const std::string& reason) {
    return "Impossible d'ouvrir le fichier\n" + path + "\n" + reason;
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
    if (kind == ProgramKind::Function) return {"Format Ti-89 (*.89f)", "Format Ti-92 (*.92f)"};
    return {"Format Ti-89 (*.89p)", "Format Ti-92 (*.92p)"};
}

std::string extensionOfTypeItem(const std::string& item) {
    constexpr size_t kFrom = 15;  // the sixteenth character, counted from 0
    return item.size() >= kFrom + 4 ? item.substr(kFrom, 4) : std::string();
}

std::string nameWithoutExtension(const std::string& fileName) {
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

std::string joinBrowserPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

bool needsSaveAsBrowser(const std::string& documentPath, bool toExistingPath) {
    return documentPath.empty() || !toExistingPath;
}

std::optional<std::string> commandLineFile(const std::string& commandLine) {
    std::string path = commandLine;
    const bool quoted = !path.empty() && path.front() == '"';
    if (quoted) path = cheminLong(path);
    std::string extension = lastFour(path);
    if (quoted) extension = lowered(extension);
    if (extension != ".89p" && extension != ".92p") return std::nullopt;
    return path;
}

bool isDroppableFile(const std::string& path) {
    const std::string extension = lowered(lastFour(path));
    return extension == ".89p" || extension == ".92p" || extension == ".89f" || extension == ".92f";
}

std::string windowTitleFor(const std::string& documentPath) {
    if (documentPath.empty()) return "Korvane";
    return "Korvane - " + fs::path(documentPath).filename().string();
}

bool isTokenizedStart(const std::string& dataStart) { return dataStart.empty() || dataStart.front() != '('; }

bool endsWithEndPrgm(const std::string& programText) {
    constexpr std::string_view kEnd = "EndPrgm";
    return programText.size() >= kEnd.size() && programText.compare(programText.size() - kEnd.size(), kEnd.size(), kEnd) == 0;
}

std::string nameFieldOf(const VariableFileContent& content) { return content.name + "(" + content.arguments + ")"; }

std::string saveProgramFile(const VariableFileInput& input, const std::string& target, bool tokenized,
                            const Detokenizer& detokenizer) {
    const BuildResult built = buildVariableFile(input);
    if (!built.ok()) return built.error;
    if (tokenized) {
        const BuildResult check = tokenizeVariableFile(built.bytes);
        if (!check.ok()) return check.error;
    }
    if (std::string error = writeVariableFile(input, target); !error.empty()) return error;
    if (!tokenized) return {};

    // The component rewrites the text file just written, in place.
    const DetokenizerAnswer first = detokenizer.HeaderString1(target);
    if (!first.ok()) return first.error;
    const DetokenizerAnswer second = detokenizer.HeaderString2(target);
    if (!second.ok()) return second.error;
    const DetokenizerAnswer text = detokenizer.ProgramText(target);
    if (!text.ok()) return text.error;
    return detokenizer.WriteVariable(target, first.value, second.value, text.value, 1, true);
}

OpenedFile openProgramFile(const std::string& path, const Detokenizer& detokenizer,
                           const std::string& temporaryFolder) {
    using Failure = OpenedFile::Failure;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (!ec && size > static_cast<std::uintmax_t>(kLargestReadableFile))
        return failed(Failure::Damaged, "the file is too large to be a calculator variable (" + std::to_string(size) +
                                            " bytes)");

    const DetokenizerAnswer start = detokenizer.DataStart(path);
    if (!start.ok()) return failed(Failure::Damaged, start.error);

    if (!isTokenizedStart(start.value)) {
        ParseResult read = readVariableFile(path);
        if (!read.ok()) return failed(Failure::Damaged, read.error);
        OpenedFile result;
        result.content = std::move(read.content);
        return result;
    }

    const DetokenizerAnswer text = detokenizer.ProgramText(path);
    if (!text.ok()) return failed(Failure::Detokenization, text.error);
    if (!endsWithEndPrgm(text.value))
        return failed(Failure::Detokenization, "the detokenized text does not end with EndPrgm");
    const DetokenizerAnswer first = detokenizer.HeaderString1(path);
    if (!first.ok()) return failed(Failure::Detokenization, first.error);
    const DetokenizerAnswer second = detokenizer.HeaderString2(path);
    if (!second.ok()) return failed(Failure::Detokenization, second.error);

    std::string error;
    const TemporaryFile source(makeTemporaryFile(temporaryFolder, error));
    if (source.path().empty()) return failed(Failure::Detokenization, error);
    error = detokenizer.WriteVariable(source.path(), first.value, second.value, text.value, 1, false);
    if (!error.empty()) return failed(Failure::Detokenization, error);
    ParseResult read = readVariableFile(source.path());
    if (!read.ok()) return failed(Failure::Detokenization, read.error);

    OpenedFile result;
    result.content = std::move(read.content);
    result.tokenized = true;
    return result;
}

std::string systemTemporaryFolder() {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec);
    return ec ? std::string("/tmp") : folder.string();
}

}  // namespace korvane
