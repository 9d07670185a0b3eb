#pragma once
// The recovery copy: while a Document has unsaved changes, the main window keeps a
// copy of it under $XDG_STATE_HOME/korvane/, so that a Korvane that is killed or
// crashes loses nothing. Each window owns one copy and one lock file, and holds an
// flock() on the lock file for as long as it runs: a copy whose lock can be taken
// belongs to a Korvane that is no longer running, whatever became of its process id.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/Document.h"
#include "files/Tokens.h"
#include "files/VariableFile.h"

namespace korvane {

// Everything needed to put a Document back exactly as it was.
struct RecoveryCopy {
    std::string text;    // the editor text, calculator codes, CR LF line breaks
    std::string name;    // the name field
    std::string folder;  // the folder field
    ProgramKind kind = ProgramKind::Program;
    std::string path;    // the Document's file, empty when it has none
    bool tokenizedFile = true;
    bool oneExpression = false;
    Bytes variableHeader;   // 88 bytes
    Bytes variableTrailer;  // 12 bytes
    DocumentState saved;    // what the Document was last created, opened or saved as
    std::int64_t savedAt = 0;  // when the copy was written, seconds since 1970
    std::int64_t ownerPid = 0;
};

// The largest copy the reader takes: far beyond any program the editor holds.
constexpr std::size_t kLargestRecoveryCopy = 16u << 20;

// The copy as written on disk: a magic line, a version, one "key value" line per
// small field, "key length" then the bytes for each text (any byte 0-255), and a
// CRC-32 of everything before it as the last line.
Bytes encodeRecoveryCopy(const RecoveryCopy& copy);
// The copy, or nothing when the bytes are not one intact copy of a known version
// (truncated, edited by hand, or some other file).
std::optional<RecoveryCopy> decodeRecoveryCopy(std::string_view bytes);

// The CRC-32 (IEEE 802.3) of `bytes`.
std::uint32_t crc32(std::string_view bytes);

// The folder of the copies: $XDG_STATE_HOME/korvane, else ~/.local/state/korvane;
// empty when neither variable gives an absolute folder.
std::string recoveryFolderFor(const char* xdgStateHome, const char* home);
std::string defaultRecoveryFolder();

// When a copy was written, as the offer tells it: "2026-12-08 17:41", local time.
std::string recoveryTimeText(std::int64_t secondsSince1970);

// A copy left by a Korvane that is no longer running, locked by the window that
// found it until it is restored, discarded, set aside or let go (destroyed).
class LeftCopy {
public:
    LeftCopy(std::string copyPath, std::string lockPath, int lockFd);
    LeftCopy(LeftCopy&& other) noexcept;
    LeftCopy& operator=(LeftCopy&& other) noexcept;
    LeftCopy(const LeftCopy&) = delete;
    LeftCopy& operator=(const LeftCopy&) = delete;
    ~LeftCopy();

    const std::string& path() const { return copyPath_; }
    // The copy read whole; nothing when it is damaged or unreadable.
    std::optional<RecoveryCopy> read() const;
    // Removes the copy and its lock file.
    void discard();
    // Renames a damaged copy out of the way ("....damaged") so that it is offered no
    // more but kept for whoever wants to look at it; returns its new path.
    std::string setAside();

private:
    void release();
    std::string copyPath_;
    std::string lockPath_;
    int lockFd_ = -1;
};

// One window's copy: its lock is taken on construction and held until close() or
// destruction. Destruction leaves the copy where it is, as a crash would.
class RecoveryStore {
public:
    explicit RecoveryStore(std::string folder);
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;
    ~RecoveryStore();

    // Empty when the folder and the lock are in place, else the reason.
    const std::string& error() const { return error_; }
    const std::string& folder() const { return folder_; }
    const std::string& copyPath() const { return copyPath_; }

    // Writes this window's copy beside its place and renames it over; empty or the reason.
    std::string write(const RecoveryCopy& copy);
    // Removes this window's copy (saved, or given up on purpose).
    void remove();
    // A normal quit: the copy and the lock file go, the lock is released.
    void close();

    // The copies of Korvanes no longer running, the newest first, each locked for
    // this window. A live window's copy is never among them. Leftovers of dead
    // windows without a copy (a lock file, a half-written copy) are removed.
    std::vector<LeftCopy> claimLeftCopies();

private:
    std::string folder_;
    std::string id_;
    std::string copyPath_;
    std::string lockPath_;
    int lockFd_ = -1;
    std::string error_;
};

}  // namespace korvane
