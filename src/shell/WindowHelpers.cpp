#include "shell/WindowHelpers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

WindowPlace freePlace(const TwipsRect& wanted, const TwipsRect& area, int step,
                      const std::function<bool(WindowPlace)>& held) {
    constexpr int kTries = 20;
    WindowPlace place{wanted.left, wanted.top};
    for (int i = 0; i < kTries; ++i) {
        if (!held(place)) return place;
        place = {place.left + step, place.top + step};
        const bool pastEdge = place.left + wanted.width > area.left + area.width ||
                              place.top + wanted.height > area.top + area.height;
        if (pastEdge) place = {area.left, area.top};
    }
    return {wanted.left, wanted.top};
}

namespace {

// FNV-1a: the same name for the same settings file in every run.
std::uint64_t stableHash(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace

PlaceClaim::PlaceClaim(std::string folder, std::string owner) : folder_(std::move(folder)), owner_(std::move(owner)) {}

PlaceClaim::~PlaceClaim() { release(); }

std::string PlaceClaim::lockPath(WindowPlace place) const {
    char name[80];
    std::snprintf(name, sizeof name, "place-%016llx-%d_%d.lock", static_cast<unsigned long long>(stableHash(owner_)),
                  place.left, place.top);
    return (fs::path(folder_) / name).string();
}

bool PlaceClaim::held(WindowPlace place) const {
    if (fd_ >= 0 && place == place_) return false;
    const int fd = ::open(lockPath(place).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;  // never claimed
    // A lock of its own (another open of the file) tells whether someone holds it.
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return !free;
}

bool PlaceClaim::take(WindowPlace place) {
    release();
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const int fd = ::open(lockPath(place).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    place_ = place;
    return true;
}

void PlaceClaim::release() {
    // The file stays: removing it could let two processes lock two files of one name.
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::string placeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return (fs::path(runtime) / "korvane").string();
    std::error_code ec;
    return (fs::temp_directory_path(ec) / ("korvane-" + std::to_string(::getuid()))).string();
}

}  // namespace korvane
