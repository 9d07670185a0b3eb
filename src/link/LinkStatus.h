#pragma once
// How a link operation ended: a message id, what it is about, and the library's own
// words, turned into one line of English or French for the window or the terminal.
// Link operations never throw; every failure comes back as one of these.
#include <cstdint>
#include <string>
#include <utility>

namespace korvane::link {

enum class MessageId {
    Ok,
    CableUnavailable,  // the cable's device is missing or not ours to open
    NoCalculator,      // nobody on the other end of the virtual cable
    NoAnswer,          // nothing came back within the timeout: calculator off or busy
    NotReady,          // the calculator answered that it is busy in another screen
    Refused,           // the calculator sent a skip code
    Cut,               // the calculator stopped answering partway through
    Cancelled,         // the caller asked to stop
    NoSuchVariable,    // the calculator holds no variable of that name
    Garbled,           // a packet with a bad check sum or an unexpected command
    WrongCable,        // a cable the calculator model cannot use
    Busy,              // another link is already open in this program
    BadName,           // a folder or name the link cannot carry
    TooLarge,          // more data than a variable holds
    Malformed,         // received data whose size word does not match them
    AmbiguousName,     // a name without folder that several folders hold
    Failed,            // any other error of the libraries
};

enum class Language { French, English };

// English when the settings' language is exactly "En" (as the interface decides),
// French otherwise.
Language languageOf(const std::string& langue);

// The sentence of `id` alone, without subject or details: "The calculator did not
// answer in time...".
std::string linkMessage(MessageId id, Language language);

// A count of bytes with its thousands apart: "4 622" in French (a space), "4,622" in
// English.
std::string groupedCount(std::uint64_t count, Language language);
// Seconds to the tenth: "0,3" in French (a decimal comma), "0.3" in English.
std::string tenthsOfSeconds(double seconds, Language language);

// Known skip codes of the TI-89 family's link protocol.
inline constexpr int kSkipInvalidName = 0x25;
inline constexpr int kSkipLockedOrArchived = 0x1E;

struct LinkStatus {
    MessageId id = MessageId::Ok;
    std::string subject;  // the cable ("SilverLink, port 1") or the variable ("main\prog")
    int code = 0;         // the libraries' error number, or the calculator's skip code
    std::string detail;   // the libraries' first line, "" when none

    bool ok() const { return id == MessageId::Ok; }
    // One line: the sentence with its subject, then ": " and the detail when there
    // is one.
    std::string message(Language language) const;

    static LinkStatus failure(MessageId id, std::string subject = {}, int code = 0, std::string detail = {}) {
        return {id, std::move(subject), code, std::move(detail)};
    }
};

template <typename T>
struct LinkResult {
    T value{};
    LinkStatus status;
    bool ok() const { return status.ok(); }
};

}  // namespace korvane::link
