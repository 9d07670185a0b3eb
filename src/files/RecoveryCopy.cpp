#include "files/RecoveryCopy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>

namespace korvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "KORVANE RECOVERY COPY";
constexpr int kVersion = 1;
constexpr std::string_view kCopyExtension = ".krec";
constexpr std::string_view kLockExtension = ".lock";
// What writeFileAtomically adds to the name while it writes, and what a damaged copy becomes.
constexpr std::string_view kWritingSuffix = ".korvane-tmp";
constexpr std::string_view kDamagedSuffix = ".damaged";
// A "key value" line is short: the longest key and a 20-digit number.
constexpr std::size_t kLongestLine = 64;

constexpr std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = crcTable();

std::string hex8(std::uint32_t value) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08x", value);
    return buffer;
}

void putLine(Bytes& out, std::string_view key, std::string_view value) {
    out.append(key).append(" ").append(value).append("\n");
}
void putNumber(Bytes& out, std::string_view key, std::int64_t value) {
    putLine(out, key, std::to_string(std::max<std::int64_t>(0, value)));
}
void putField(Bytes& out, std::string_view key, std::string_view bytes) {
    putNumber(out, key, static_cast<std::int64_t>(bytes.size()));
    out.append(bytes).append("\n");
}

// Reads the copy front to back; any step that does not find exactly what the
// writer puts there fails, and every later step then fails too.
class Reader {
public:
    explicit Reader(std::string_view bytes) : all_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t position() const { return at_; }
    bool atEnd() const { return at_ == all_.size(); }

    std::string_view line() {
        if (!ok_) return {};
        const std::size_t end = all_.find('\n', at_);
        if (end == std::string_view::npos || end - at_ > kLongestLine) return fail();
        const std::string_view text = all_.substr(at_, end - at_);
        at_ = end + 1;
        return text;
    }
    // The value of a "key value" line with this key.
    std::string_view value(std::string_view key) {
        const std::string_view text = line();
        if (!ok_ || text.size() <= key.size() || text.substr(0, key.size()) != key || text[key.size()] != ' ')
            return fail();
        return text.substr(key.size() + 1);
    }
    std::int64_t number(std::string_view key) {
        const std::string_view digits = value(key);
        std::int64_t n = 0;
        // Written without leading zeros: one copy has one spelling.
        const bool allDigits = !digits.empty() && digits.size() <= 18 && (digits.size() == 1 || digits[0] != '0') &&
                               std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!ok_ || !allDigits || std::from_chars(digits.data(), digits.data() + digits.size(), n).ec != std::errc()) {
            fail();
            return 0;
        }
        return n;
    }
    // One of two words, as a flag: `yes` gives true.
    bool choice(std::string_view key, std::string_view yes, std::string_view no) {
        const std::string_view word = value(key);
        if (word == yes) return true;
        if (word != no) fail();
        return false;
    }
    std::string field(std::string_view key) {
        const std::int64_t size = number(key);
        if (!ok_ || static_cast<std::uint64_t>(size) >= all_.size() - at_ || all_[at_ + size] != '\n') {
            fail();
            return {};
        }
        std::string bytes(all_.substr(at_, static_cast<std::size_t>(size)));
        at_ += static_cast<std::size_t>(size) + 1;
        return bytes;
    }

private:
    std::string_view fail() {
        ok_ = false;
        return {};
    }
    std::string_view all_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A name no other window, of this process or another, past or present, will take.
std::string uniqueId() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "korvane-%ld-%u-%llx", static_cast<long>(::getpid()), counter++,
                  static_cast<unsigned long long>(nanos));
    return buffer;
}

// The lock of `lockPath`, taken without waiting; -1 when its owner still runs. The
// file is created when missing, and a lock that lands on a file since replaced or
// removed (another window cleaning up) does not count.
int tryLock(const std::string& lockPath) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat held{}, named{};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 || ::stat(lockPath.c_str(), &named) != 0 ||
        held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes) c = kCrcTable[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

Bytes encodeRecoveryCopy(const RecoveryCopy& copy) {
    Bytes out;
    out.reserve(copy.text.size() + copy.saved.text.size() + copy.path.size() + 512);
    out.append(kMagic).append("\n");
    putNumber(out, "version", kVersion);
    putNumber(out, "pid", copy.ownerPid);
    putNumber(out, "time", copy.savedAt);
    putLine(out, "kind", copy.kind == ProgramKind::Function ? "function" : "program");
    putLine(out, "form", copy.tokenizedFile ? "tokenized" : "text");
    putLine(out, "one-expression", copy.oneExpression ? "yes" : "no");
    putField(out, "path", copy.path);
    putField(out, "name", copy.name);
    putField(out, "folder", copy.folder);
    putField(out, "header", copy.variableHeader);
    putField(out, "trailer", copy.variableTrailer);
    putField(out, "text", copy.text);
    putField(out, "saved-text", copy.saved.text);
    putField(out, "saved-name", copy.saved.name);
    putField(out, "saved-folder", copy.saved.folder);
    putLine(out, "crc32", hex8(crc32(out)));
    return out;
}

std::optional<RecoveryCopy> decodeRecoveryCopy(std::string_view bytes) {
    if (bytes.size() > kLargestRecoveryCopy) return std::nullopt;
    Reader in(bytes);
    if (in.line() != kMagic || in.number("version") != kVersion) return std::nullopt;
    RecoveryCopy copy;
    copy.ownerPid = in.number("pid");
    copy.savedAt = in.number("time");
    copy.kind = in.choice("kind", "function", "program") ? ProgramKind::Function : ProgramKind::Program;
    copy.tokenizedFile = in.choice("form", "tokenized", "text");
    copy.oneExpression = in.choice("one-expression", "yes", "no");
    copy.path = in.field("path");
    copy.name = in.field("name");
    copy.folder = in.field("folder");
    copy.variableHeader = in.field("header");
    copy.variableTrailer = in.field("trailer");
    copy.text = in.field("text");
    copy.saved.text = in.field("saved-text");
    copy.saved.name = in.field("saved-name");
    copy.saved.folder = in.field("saved-folder");
    const std::size_t checked = in.position();
    const std::string_view check = in.value("crc32");
    if (!in.ok() || !in.atEnd() || check != hex8(crc32(bytes.substr(0, checked)))) return std::nullopt;
    // A Document always has a whole header and trailer; a path is one file name.
    if (copy.variableHeader.size() != static_cast<std::size_t>(kHeaderSize) ||
        copy.variableTrailer.size() != static_cast<std::size_t>(kTrailerSize) ||
        copy.path.find('\0') != std::string::npos)
        return std::nullopt;
    return copy;
}

std::string recoveryFolderFor(const char* xdgStateHome, const char* home) {
    // XDG: a relative XDG_STATE_HOME is ignored, as if it were unset.
    if (xdgStateHome && xdgStateHome[0] == '/') return (fs::path(xdgStateHome) / "korvane").string();
    if (home && home[0] == '/') return (fs::path(home) / ".local" / "state" / "korvane").string();
    return {};
}

std::string defaultRecoveryFolder() { return recoveryFolderFor(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")); }

std::string recoveryTimeText(std::int64_t secondsSince1970) {
    const std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (!::localtime_r(&t, &local)) return {};
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M", &local);
    return buffer;
}

// ---- A copy left behind ----

LeftCopy::LeftCopy(std::string copyPath, std::string lockPath, int lockFd)
    : copyPath_(std::move(copyPath)), lockPath_(std::move(lockPath)), lockFd_(lockFd) {}

LeftCopy::LeftCopy(LeftCopy&& other) noexcept
    : copyPath_(std::move(other.copyPath_)), lockPath_(std::move(other.lockPath_)), lockFd_(other.lockFd_) {
    other.lockFd_ = -1;
}

LeftCopy& LeftCopy::operator=(LeftCopy&& other) noexcept {
    if (this != &other) {
        release();
        copyPath_ = std::move(other.copyPath_);
        lockPath_ = std::move(other.lockPath_);
        lockFd_ = other.lockFd_;
        other.lockFd_ = -1;
    }
    return *this;
}

LeftCopy::~LeftCopy() { release(); }

void LeftCopy::release() {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
}

std::optional<RecoveryCopy> LeftCopy::read() const {
    std::ifstream in(copyPath_, std::ios::binary);
    if (!in) return std::nullopt;
    Bytes bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kLargestRecoveryCopy) return std::nullopt;
    }
    if (in.bad()) return std::nullopt;
    return decodeRecoveryCopy(bytes);
}

void LeftCopy::discard() {
    std::error_code ec;
    fs::remove(copyPath_, ec);
    // The lock file goes while it is still held, so that no other window takes it in between.
    fs::remove(lockPath_, ec);
    release();
}

std::string LeftCopy::setAside() {
    std::error_code ec;
    const std::string aside = copyPath_ + std::string(kDamagedSuffix);
    fs::rename(copyPath_, aside, ec);
    fs::remove(lockPath_, ec);
    release();
    return ec ? copyPath_ : aside;
}

// ---- This window's copy ----

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)), id_(uniqueId()) {
    if (folder_.empty()) {
        error_ = "no folder for the recovery copy";
        return;
    }
    copyPath_ = (fs::path(folder_) / (id_ + std::string(kCopyExtension))).string();
    lockPath_ = (fs::path(folder_) / (id_ + std::string(kLockExtension))).string();
    std::error_code ec;
    // The copies hold the user's programs: the folder is the user's alone.
    if (fs::create_directories(folder_, ec)) fs::permissions(folder_, fs::perms::owner_all, ec);
    if (!fs::is_directory(folder_)) {
        error_ = ec ? ec.message() : "not a folder: " + folder_;
        return;
    }
    lockFd_ = tryLock(lockPath_);
    if (lockFd_ < 0) error_ = "cannot lock " + lockPath_;
}

RecoveryStore::~RecoveryStore() {
    // The lock goes with the process anyway; the files stay, as after a crash.
    if (lockFd_ >= 0) ::close(lockFd_);
}

std::string RecoveryStore::write(const RecoveryCopy& copy) {
    if (!error_.empty()) return error_;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    return writeFileAtomically(copyPath_, encodeRecoveryCopy(copy));
}

void RecoveryStore::remove() {
    if (copyPath_.empty()) return;
    std::error_code ec;
    fs::remove(copyPath_, ec);
}

void RecoveryStore::close() {
    remove();
    if (lockFd_ < 0) return;
    std::error_code ec;
    fs::remove(lockPath_, ec);
    ::close(lockFd_);
    lockFd_ = -1;
    error_ = "closed";
}

std::vector<LeftCopy> RecoveryStore::claimLeftCopies() {
    std::vector<LeftCopy> claimed;
    if (!error_.empty()) return claimed;
    std::set<std::string> ids;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (const std::string_view extension : {kCopyExtension, kLockExtension})
            if (endsWith(name, extension)) ids.insert(name.substr(0, name.size() - extension.size()));
    }
    ids.erase(id_);
    std::vector<std::pair<fs::file_time_type, LeftCopy>> found;
    for (const std::string& id : ids) {
        const fs::path base = fs::path(folder_) / id;
        const std::string copyPath = base.string() + std::string(kCopyExtension);
        const std::string lockPath = base.string() + std::string(kLockExtension);
        const int fd = tryLock(lockPath);
        if (fd < 0) continue;  // its window still runs
        std::error_code timeError;
        const fs::file_time_type written = fs::last_write_time(copyPath, timeError);
        if (!timeError) {
            found.emplace_back(written, LeftCopy(copyPath, lockPath, fd));
            continue;
        }
        // A window that died with nothing unsaved, or while it wrote.
        fs::remove(copyPath + std::string(kWritingSuffix), ec);
        fs::remove(lockPath, ec);
        ::close(fd);
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [written, copy] : found) claimed.push_back(std::move(copy));
    return claimed;
}

}  // namespace korvane
