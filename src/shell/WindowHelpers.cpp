#include "shell/WindowHelpers.h"

#include <filesystem>
#include <system_error>

namespace korvane {
namespace fs = std::filesystem;

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The directory entry's own spelling of `name` inside `folder`: the exact name when
// listed, else the one entry equal to it but for case, else `name` as given (a
// folder that can be searched but not listed).
std::string entrySpelling(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    std::string caseMatch;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (entry == name) return name;
        if (caseMatch.empty() && equalsIgnoringCase(entry, name)) caseMatch = entry;
    }
    return caseMatch.empty() ? name : caseMatch;
}

}  // namespace

std::string cheminLong(const std::string& path) {
    std::string unquoted;
    for (char c : path)
        if (c != '"') unquoted += c;

    std::string result;
    std::size_t start = 0;
    if (!unquoted.empty() && unquoted.front() == '/') {
        result = "/";
        start = 1;
    }
    std::error_code ec;
    while (true) {
        const std::size_t slash = unquoted.find('/', start);
        const bool last = slash == std::string::npos;
        const std::string name = unquoted.substr(start, last ? std::string::npos : slash - start);
        if (last && name.empty()) return "Erreur";
        if (!name.empty()) {
            const fs::path candidate = fs::path(result) / name;
            const bool found = last ? fs::exists(candidate, ec) : fs::is_directory(candidate, ec);
            if (!found) return "Erreur";
            result += (name == "." || name == "..") ? name : entrySpelling(result, name);
        }
        if (last) return result;
        result += '/';
        start = slash + 1;
    }
}

}  // namespace korvane
