#pragma once
// The link with a TI-89, TI-89 Titanium, TI-92 Plus or Voyage 200 through
// libticalcs: open a cable, check that the calculator is ready, send a variable,
// list those it holds, receive one as a single-variable file, run a program, take
// the screen, delete a variable, back every variable up into one group file.
//
// Plain C++ types only: the libraries' headers stay inside Link.cpp. Names are in
// calculator codes, as variable files hold them ("main\prog").
//
// A window runs a transfer on a worker thread: it gives a TransferControl whose
// progress callback is called on that thread (post it to the window's thread), and
// calls cancel() from its own thread; the transfer then stops at the next block of
// bytes, or at the latest when the cable's timeout runs out, with MessageId::Cancelled.
// An operation that a cancel or a time-out leaves midway returns once the line has
// been quiet for the cable's timeout (1 to 2 s): a late answer of the calculator is
// dropped there, not read by the next operation.
// One link at a time per program: a second open() while one is open gives Busy; a
// link closes all it opened (the libraries are started and stopped with it).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/VariableFile.h"
#include "link/CalcScreen.h"
#include "link/LinkOptions.h"
#include "link/LinkStatus.h"

namespace korvane {
struct TableEntry;
}

namespace korvane::link {

class TransferControl {
public:
    // Called with the fraction done, from 0 to 1, on the transferring thread.
    std::function<void(double)> onProgress;

    void cancel() { cancelled_.store(true); }
    bool cancelled() const { return cancelled_.load(); }
    void reset() { cancelled_.store(false); }

private:
    std::atomic<bool> cancelled_{false};
};

// A variable the calculator holds.
struct CalcVariable {
    std::string folder;
    std::string name;
    std::uint8_t type = 0;   // 0x12 program, 0x13 function, 0x04 list...
    std::uint32_t size = 0;  // bytes, as the calculator counts them
    std::string qualifiedName() const { return folder.empty() ? name : folder + "\\" + name; }
    const char* kind() const;  // "program" or "function"
    bool locked = false;
    bool archived = false;
};

class Link {
public:
    // Opens the cable of `options`. On the virtual cable, first checks that a
    // program is on the other end (NoCalculator otherwise); a serial cable opens
    // without a calculator, only a later timeout tells it is missing.
    static LinkResult<std::unique_ptr<Link>> open(const LinkOptions& options);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Whether the calculator answers and is on a screen that takes transfers.
    LinkStatus checkReady(TransferControl* control = nullptr);

    // Sends the variable `entry` of any type (its bytes as stored, with its folder
    // and name: "folder\name"), replacing a variable of that name.
    LinkStatus sendVariable(const TableEntry& entry, TransferControl* control = nullptr);

    // The programs and functions on the calculator, folder by folder.
    LinkResult<std::vector<CalcVariable>> listPrograms(TransferControl* control = nullptr);

    // Receives the variable `qualifiedName` ("folder\name", or "name" when only one
    // folder holds it) as the bytes of a single-variable file: .89p, .89l... for the
    // TI-89 models, .9xp, .v2p... (signature **TI92P*) for the TI-92 Plus and Voyage 200.
    LinkResult<Bytes> receiveVariable(const std::string& qualifiedName, TransferControl* control = nullptr);
    // The same for a variable of a listing just made, without listing again: any
    // type, as the single-variable file of that type's own extension (.89l, .9xm...).
    LinkResult<Bytes> receiveVariable(const CalcVariable& listed, TransferControl* control = nullptr);

    // Every variable of the calculator (not the folder entries), folder by folder,
    // with type, size and flags.
    LinkResult<std::vector<CalcVariable>> listVariables(TransferControl* control = nullptr);

    // Runs folder\name(arguments) on the home screen by typing it with key packets,
    // as libticalcs' ticalcs_calc_execute types it: HOME, CLEAR, CLEAR on the TI-89
    // (the 92 Plus and Voyage 200 go home with their own key), the line, ENTER.
    // `arguments` is the text between the parentheses, calculator codes; "" for none.
    // A program still running on the calculator takes these keys itself.
    LinkStatus execute(const std::string& qualifiedName, const std::string& arguments,
                       TransferControl* control = nullptr);

    // The calculator's whole screen, 240 x 128.
    LinkResult<Screen> takeScreen(TransferControl* control = nullptr);

    // Deletes a variable of a listing.
    LinkStatus deleteVariable(const CalcVariable& listed, TransferControl* control = nullptr);

    // Every variable as the bytes of one group file (.89g, .9xg or .v2g by model),
    // written by Korvane's own group writer; nothing when any variable fails.
    LinkResult<Bytes> backup(TransferControl* control = nullptr);

    struct Impl;

private:
    explicit Link(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// An operation on a link that keeps in `into` what `fetch` received when it
// succeeded, and gives its status: a worker thread's half of handing a value to
// its window.
template <typename T, typename Fetch>
auto keepingResult(std::shared_ptr<T> into, Fetch fetch) {
    return [into = std::move(into), fetch = std::move(fetch)](Link& link, TransferControl& control) {
        auto got = fetch(link, control);
        if (got.ok()) *into = std::move(got.value);
        return got.status;
    };
}

// The last warning the libraries logged (GLib's log is kept off stderr and only
// this last line is kept), "" when none since the program started.
std::string lastLibraryWarning();

}  // namespace korvane::link
