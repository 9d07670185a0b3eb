#include "link/Link.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include <unistd.h>

// The libraries' C headers use the C keyword "restrict", which C++ spells __restrict.
#define restrict __restrict
#include <ticalcs.h>
#undef restrict

#include "editor/CharTable.h"
#include "files/GroupFile.h"
#include "files/VariableTable.h"
#include "link/CalcTypes.h"

namespace korvane::link {
namespace {

// The libraries' error numbers that matter here (their error.h is not installed;
// the values are part of their interface and have not moved since 2007).
namespace cables {
constexpr int kReadError = 3;
constexpr int kReadTimeout = ERROR_READ_TIMEOUT;  // 4
constexpr int kWriteError = 5;
constexpr int kWriteTimeout = ERROR_WRITE_TIMEOUT;  // 6
constexpr int kProbeFailed = 7;
constexpr int kFlushError = 8;
constexpr int kLast = 255;
}  // namespace cables
namespace calcs {
constexpr int kAbort = ERROR_ABORT;  // 256
constexpr int kNotReady = 257;
constexpr int kChecksum = 258;
constexpr int kInvalidHost = 259;
constexpr int kInvalidTarget = 260;
constexpr int kInvalidCommand = 261;
constexpr int kVarRejected = 263;
constexpr int kCtsError = 264;
constexpr int kNack = 265;
constexpr int kInvalidPacket = 266;
constexpr int kNoCable = 268;
constexpr int kOutOfMemory = 273;
constexpr int kMissingVar = 278;
constexpr int kVarVersion = 285;
constexpr int kDusbErrors = 300;    // the TI-89 Titanium's USB status codes, 300 to 349
constexpr int kDbusErrors = 350;    // the link port's skip codes, 350 to 399
constexpr int kNspireErrors = 400;  // 400 to 459
}  // namespace calcs

constexpr std::uint8_t kSkipCommand = 0x36;  // the calculator's SKP packet

// After an exchange left midway, how long the line must stay quiet before the next
// one may start, and how long the wait for that may last at most.
constexpr auto kQuietAtLeast = std::chrono::milliseconds(1000);
constexpr auto kQuietAtMost = std::chrono::milliseconds(2000);
constexpr auto kSettleLimit = std::chrono::seconds(10);

// The descriptors this process holds on the virtual cable's named pipes.
std::set<int> virtualCableDescriptors() {
    std::set<int> out;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        std::error_code linkError;
        const std::string target = std::filesystem::read_symlink(entry.path(), linkError).string();
        if (!linkError && target.rfind("/tmp/.vlc_", 0) == 0) out.insert(std::atoi(entry.path().filename().c_str()));
    }
    return out;
}

// ---- GLib's log: kept off stderr, the last warning kept for messages -----------

std::mutex logMutex;
std::string lastWarning;
unsigned warningCount = 0;

void keepLibraryLog(const gchar*, GLogLevelFlags level, const gchar* message, gpointer) {
    if (!(level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE))) return;
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::lock_guard lock(logMutex);
    lastWarning = std::move(text);
    ++warningCount;
}

unsigned warningsSoFar() {
    std::lock_guard lock(logMutex);
    return warningCount;
}

void keepLibraryLogs() {
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr auto all = static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION);
        for (const char* domain : {"ticables", "tifiles", "ticalcs", "ticonv"})
            g_log_set_handler(domain, all, keepLibraryLog, nullptr);
    });
}

// The first line of the libraries' text for `error`, without its "Msg: " prefix.
std::string libraryLine(int error) {
    char* text = nullptr;
    if (error <= cables::kLast) ticables_error_get(error, &text);
    else if (error < 512) ticalcs_error_get(error, &text);
    else tifiles_error_get(error, &text);
    std::string line = text ? text : "";
    if (text) g_free(text);
    line = line.substr(0, line.find('\n'));
    if (line.rfind("Msg: ", 0) == 0) line.erase(0, 5);
    while (!line.empty() && (line.back() == '.' || line.back() == ' ')) line.pop_back();
    if (line.empty()) line = "error " + std::to_string(error);
    return line;
}

CableModel cableModelOf(Cable cable) {
    switch (cable) {
    case Cable::SilverLink: return CABLE_SLV;
    case Cable::DirectLink: return CABLE_USB;
    case Cable::GrayLink: return CABLE_GRY;
    case Cable::BlackLink: return CABLE_BLK;
    case Cable::Parallel: return CABLE_PAR;
    case Cable::TiEmu: return CABLE_TIE;
    }
    return CABLE_NUL;
}

CalcModel calcModelOf(Calc calc, Cable cable) {
    switch (calc) {
    case Calc::TI89: return CALC_TI89;
    case Calc::TI89Titanium: return cable == Cable::DirectLink ? CALC_TI89T_USB : CALC_TI89T;
    case Calc::TI92Plus: return CALC_TI92P;
    case Calc::Voyage200: return CALC_V200;
    }
    return CALC_NONE;
}

std::string cableSubject(const LinkOptions& o) {
    return std::string(displayName(o.cable)) + ", port " + std::to_string(o.port);
}

std::atomic<bool> linkOpen{false};

void noUpdate() {}

void copyField(char* to, std::size_t room, const std::string& from) {
    const std::size_t n = std::min(from.size(), room - 1);
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
}

// "folder\name" split at its backslash; no folder when it has none.
std::pair<std::string, std::string> splitQualified(const std::string& qualified) {
    const auto slash = qualified.find('\\');
    if (slash == std::string::npos) return {{}, qualified};
    return {qualified.substr(0, slash), qualified.substr(slash + 1)};
}

}  // namespace

const char* CalcVariable::kind() const { return kindWord(type); }

std::string lastLibraryWarning() {
    std::lock_guard lock(logMutex);
    return lastWarning;
}

struct Link::Impl {
    LinkOptions options;
    CableHandle* cable = nullptr;
    CalcHandle* calc = nullptr;
    CalcUpdate update{};

    // What the operation under way has seen.
    TransferControl* control = nullptr;
    std::size_t expectedBytes = 0;
    std::size_t movedBytes = 0;
    std::size_t receivedBytes = 0;
    std::uint8_t lastCommand = 0;
    int skipCode = -1;
    bool cancelledAtEnd = false;  // the user cancelled before the operation ended
    bool settling = false;        // bytes read now are a dropped exchange's
    double reported = 0;
    unsigned warningsAtStart = 0;
    // libticables' virtual cable opens its outgoing pipe twice and closes it once:
    // what its open added is closed with the link.
    std::set<int> virtualCableOpened;
    // The libraries are started for each link and stopped with it: libusb's thread
    // and descriptors live no longer than the link.
    bool librariesStarted = false;
    bool timedOut = false;  // a read or write of the operation ran out of time
    bool ownProgress = false;  // an operation of several steps reports its progress itself

    ~Impl() {
        if (calc) ticalcs_handle_del(calc);  // detaches and closes the cable
        if (cable) ticables_handle_del(cable);
        const std::set<int> left = virtualCableDescriptors();
        for (const int fd : virtualCableOpened)
            if (left.count(fd)) ::close(fd);
        if (librariesStarted) {
            ticalcs_library_exit();
            tifiles_library_exit();
            ticables_library_exit();
        }
    }

    void report(double fraction) {
        reported = fraction;
        if (ownProgress) return;
        if (control && control->onProgress) control->onProgress(fraction);
    }

    void moved(std::size_t bytes, bool received) {
        movedBytes += bytes;
        if (received) receivedBytes += bytes;
        if (expectedBytes == 0) return;
        const double fraction = std::min(0.99, static_cast<double>(movedBytes) / static_cast<double>(expectedBytes));
        if (fraction >= reported + 0.01) report(fraction);
    }

    bool cancelRequested() const { return control && control->cancelled(); }

    void begin(TransferControl* c, std::size_t expected) {
        control = c;
        expectedBytes = expected;
        movedBytes = receivedBytes = 0;
        lastCommand = 0;
        skipCode = -1;
        update.cancel = 0;
        cancelledAtEnd = false;
        timedOut = false;
        warningsAtStart = warningsSoFar();
        report(0);
    }

    void end(int error) {
        if (!error) report(1);
        // A cancel that came while the library waited ends in its timeout: it is
        // still the user's cancel.
        cancelledAtEnd = cancelRequested();
        control = nullptr;
        if (cancelledAtEnd || timedOut || leftMidway(error)) settle();
    }

    // Whether `error` leaves the calculator in the middle of an exchange, a late
    // answer possibly on its way.
    static bool leftMidway(int error) {
        return error == calcs::kAbort || error == cables::kReadTimeout || error == cables::kWriteTimeout ||
               error == cables::kReadError || error == cables::kWriteError || error == calcs::kChecksum ||
               error == calcs::kInvalidCommand || error == calcs::kCtsError || error == calcs::kNack ||
               error == calcs::kInvalidPacket;
    }

    // Drops what the calculator still sends until the line has been quiet for the
    // cable's timeout (within bounds), so that the calculator gives the dropped
    // exchange up and the next one starts on a clean line instead of reading a late
    // answer as its own.
    void settle() {
        using Clock = std::chrono::steady_clock;
        const auto quiet = std::clamp<std::chrono::milliseconds>(
            std::chrono::milliseconds(100 * std::clamp(options.timeoutTenths, 1, kMaxTimeoutTenths)), kQuietAtLeast,
            kQuietAtMost);
        settling = true;
        const auto start = Clock::now();
        auto lastByte = start;
        while (Clock::now() - lastByte < quiet && Clock::now() - start < kSettleLimit) {
            CableStatus status = STATUS_NONE;
            if (ticables_cable_check(cable, &status)) break;
            if (status & STATUS_RX) {
                std::uint8_t byte = 0;
                if (ticables_cable_recv(cable, &byte, 1)) break;
                lastByte = Clock::now();
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        settling = false;
    }

    std::string libraryDetail(int error) const {
        std::string detail = libraryLine(error);
        if (warningsSoFar() != warningsAtStart) {
            const std::string warning = lastLibraryWarning();
            if (!warning.empty()) detail += " (" + warning + ")";
        }
        return detail;
    }

    // What `error` means for the user, about `subject`.
    LinkStatus classify(int error, const std::string& subject) const {
        using S = LinkStatus;
        if (!error) return {};
        if (error == calcs::kAbort || cancelledAtEnd)
            return S::failure(MessageId::Cancelled, subject, error);
        if (skipCode >= 0) return S::failure(MessageId::Refused, subject, skipCode);
        // The library may go on after a time-out and fail on what it did not get.
        if (timedOut)
            return receivedBytes > 0 ? S::failure(MessageId::Cut, subject, error)
                                     : S::failure(MessageId::NoAnswer, cableSubject(options), error);
        if (error == calcs::kNotReady) return S::failure(MessageId::NotReady, {}, error);
        if (error == calcs::kMissingVar) return S::failure(MessageId::NoSuchVariable, subject, error);
        if (error == calcs::kVarRejected || error == calcs::kOutOfMemory || error == calcs::kVarVersion ||
            (error >= calcs::kDusbErrors && error < calcs::kNspireErrors + 60))
            return S::failure(MessageId::Refused, subject, 0, libraryDetail(error));
        if (error == cables::kReadTimeout || error == cables::kWriteTimeout)
            return receivedBytes > 0 ? S::failure(MessageId::Cut, subject, error)
                                     : S::failure(MessageId::NoAnswer, cableSubject(options), error);
        if (error == cables::kReadError || error == cables::kWriteError || error == cables::kFlushError)
            return receivedBytes > 0 ? S::failure(MessageId::Cut, subject, error, libraryDetail(error))
                                     : S::failure(MessageId::CableUnavailable, cableSubject(options), error,
                                                  libraryDetail(error));
        if (error == calcs::kChecksum || error == calcs::kInvalidHost || error == calcs::kInvalidTarget ||
            error == calcs::kInvalidCommand || error == calcs::kCtsError || error == calcs::kNack ||
            error == calcs::kInvalidPacket)
            return S::failure(MessageId::Garbled, subject, error, libraryDetail(error));
        if (error == calcs::kNoCable || (error <= cables::kLast && error != cables::kProbeFailed))
            return S::failure(MessageId::CableUnavailable, cableSubject(options), error, libraryDetail(error));
        return S::failure(MessageId::Failed, subject, error, libraryDetail(error));
    }
};

namespace {

int calcEvent(CalcHandle*, uint32_t, const CalcEventData* event, void* user) {
    auto* impl = static_cast<Link::Impl*>(user);
    if (!impl) return event->retval;
    switch (event->type) {
    case CALC_EVENT_TYPE_BEFORE_SEND_DBUS_PKT:
    case CALC_EVENT_TYPE_BEFORE_SEND_DUSB_RPKT:
        if (impl->cancelRequested()) return calcs::kAbort;
        break;
    case CALC_EVENT_TYPE_AFTER_RECV_DBUS_PKT_HEADER:
        if (!event->retval) impl->lastCommand = event->data.dbus_pkt.cmd;
        break;
    case CALC_EVENT_TYPE_AFTER_RECV_DBUS_PKT_DATA:
        // The skip code stands in the third byte of a SKP packet's data.
        if (!event->retval && impl->lastCommand == kSkipCommand && event->data.dbus_pkt.length >= 3 &&
            event->data.dbus_pkt.data)
            impl->skipCode = event->data.dbus_pkt.data[2];
        break;
    default:
        break;
    }
    return event->retval;
}

int cableEvent(CableHandle*, uint32_t, const CableEventData* event, void* user) {
    auto* impl = static_cast<Link::Impl*>(user);
    if (!impl || impl->settling) return event->retval;
    switch (event->type) {
    case CABLE_EVENT_TYPE_BEFORE_SEND:
    case CABLE_EVENT_TYPE_BEFORE_RECV:
        if (impl->cancelRequested()) {
            impl->update.cancel = 1;
            return calcs::kAbort;
        }
        break;
    case CABLE_EVENT_TYPE_AFTER_SEND:
        if (!event->retval) impl->moved(event->data.data.len, false);
        if (event->retval == cables::kWriteTimeout) impl->timedOut = true;
        break;
    case CABLE_EVENT_TYPE_AFTER_RECV:
        if (!event->retval) impl->moved(event->data.data.len, true);
        if (event->retval == cables::kReadTimeout) impl->timedOut = true;
        break;
    default:
        break;
    }
    return event->retval;
}

// The variables of a directory tree, folder by folder: every one, or the programs
// and functions only. The listing's attribute byte holds the locked bit and the
// archived bit.
std::vector<CalcVariable> variablesOf(GNode* vars, bool every) {
    std::vector<CalcVariable> out;
    if (!vars) return out;
    for (GNode* folder = g_node_first_child(vars); folder; folder = g_node_next_sibling(folder)) {
        const auto* fe = static_cast<const VarEntry*>(folder->data);
        for (GNode* node = g_node_first_child(folder); node; node = g_node_next_sibling(node)) {
            const auto* ve = static_cast<const VarEntry*>(node->data);
            if (!ve || ve->type == kFolderTypeId) continue;
            if (!every && ve->type != kProgramTypeId && ve->type != kFunctionTypeId) continue;
            CalcVariable v;
            v.folder = ve->folder[0] ? ve->folder : (fe ? fe->name : "");
            v.name = ve->name;
            v.type = ve->type;
            v.size = ve->size;
            v.locked = ve->attr & kAttributeLocked;
            v.archived = ve->attr & kAttributeArchived;
            out.push_back(std::move(v));
        }
    }
    return out;
}

std::vector<CalcVariable> programsOf(GNode* vars) { return variablesOf(vars, false); }

bool isTi89(Calc calc) { return calc == Calc::TI89 || calc == Calc::TI89Titanium; }

// The key codes that ticalcs_calc_execute types.
constexpr std::uint16_t kKeyEnter = 13;
constexpr std::uint16_t kKeyLeftParenthesis = 40;
constexpr std::uint16_t kKeyRightParenthesis = 41;
constexpr std::uint16_t kKeyClear = 263;
constexpr std::uint16_t kKey89Home = 277;
constexpr std::uint16_t kKey92Home = 8192 + 81;  // diamond + Q

// A request for `listed` as the library takes it.
VarEntry* requestOf(const CalcVariable& listed) {
    VarEntry* request = tifiles_ve_create();
    copyField(request->folder, sizeof request->folder, listed.folder);
    copyField(request->name, sizeof request->name, listed.name);
    request->type = listed.type;
    request->size = listed.size;
    request->attr = listed.archived ? ATTRB_ARCHIVED : listed.locked ? ATTRB_LOCKED : ATTRB_NONE;
    return request;
}

}  // namespace

Link::Link(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Link::~Link() {
    impl_.reset();
    linkOpen.store(false);
}


LinkResult<std::unique_ptr<Link>> Link::open(const LinkOptions& options) {
    using S = LinkStatus;
    keepLibraryLogs();
    if (!cableFits(options.calc, options.cable))
        return {nullptr, S::failure(MessageId::WrongCable, displayName(options.calc))};
    if (options.port < 1 || options.port > 4)
        return {nullptr, S::failure(MessageId::CableUnavailable, cableSubject(options))};
    bool wasOpen = false;
    if (!linkOpen.compare_exchange_strong(wasOpen, true)) return {nullptr, S::failure(MessageId::Busy)};

    auto impl = std::make_unique<Impl>();
    impl->options = options;
    impl->warningsAtStart = warningsSoFar();
    // From here on the Link owns the handles and releases the one-link flag.
    std::unique_ptr<Link> link(new Link(std::move(impl)));
    Impl& d = *link->impl_;
    ticables_library_init();
    tifiles_library_init();
    ticalcs_library_init();
    d.librariesStarted = true;

    d.cable = ticables_handle_new(cableModelOf(options.cable), static_cast<CablePort>(options.port));
    if (!d.cable) return {nullptr, S::failure(MessageId::CableUnavailable, cableSubject(options))};
    ticables_options_set_timeout(d.cable, static_cast<unsigned>(std::clamp(options.timeoutTenths, 1, kMaxTimeoutTenths)));

    // The virtual cable reads junk at once when nobody holds its other end, instead
    // of timing out: ask first whether anybody does.
    if (options.cable == Cable::TiEmu) {
        int found = 0;
        ticables_cable_probe(d.cable, &found);
        if (!found) return {nullptr, S::failure(MessageId::NoCalculator, cableSubject(options))};
    }

    d.calc = ticalcs_handle_new(calcModelOf(options.calc, options.cable));
    if (!d.calc) return {nullptr, S::failure(MessageId::Failed, displayName(options.calc))};

    d.update.start = d.update.stop = d.update.refresh = d.update.pbar = d.update.label = noUpdate;
    ticalcs_update_set(d.calc, &d.update);
    ticalcs_calc_set_event_hook(d.calc, calcEvent);
    ticalcs_calc_set_event_user_pointer(d.calc, &d);
    ticables_cable_set_event_hook(d.cable, cableEvent);
    ticables_cable_set_event_user_pointer(d.cable, &d);

    const std::set<int> before = options.cable == Cable::TiEmu ? virtualCableDescriptors() : std::set<int>{};
    const int error = ticalcs_cable_attach(d.calc, d.cable);
    if (options.cable == Cable::TiEmu)
        for (const int fd : virtualCableDescriptors())
            if (!before.count(fd)) d.virtualCableOpened.insert(fd);
    if (error)
        return {nullptr, S::failure(MessageId::CableUnavailable, cableSubject(options), error, d.libraryDetail(error))};
    return {std::move(link), {}};
}

LinkStatus Link::checkReady(TransferControl* control) {
    Impl& d = *impl_;
    d.begin(control, 0);
    const int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_isready(d.calc);
    d.end(error);
    return d.classify(error, {});
}

LinkStatus Link::sendVariable(const TableEntry& entry, TransferControl* control) {
    Impl& d = *impl_;
    const std::string subject = calcToUtf8(entry.qualifiedName());
    // On the link a variable is its big-endian size word and that many bytes.
    constexpr std::size_t kLargest = 65535 - 2;
    if (entry.name.empty() || entry.name.size() > layout::kFieldWidth || entry.folder.size() > layout::kFieldWidth)
        return LinkStatus::failure(MessageId::BadName, subject);
    if (entry.data.size() > kLargest) return LinkStatus::failure(MessageId::TooLarge, subject);
    Bytes payload;
    payload += static_cast<char>((entry.data.size() >> 8) & 0xFF);
    payload += static_cast<char>(entry.data.size() & 0xFF);
    payload += entry.data;

    FileContent* content = tifiles_content_create_regular(calcModelOf(d.options.calc, d.options.cable));
    VarEntry* ve = tifiles_ve_create();
    copyField(ve->folder, sizeof ve->folder, entry.folder);
    copyField(ve->name, sizeof ve->name, entry.name);
    ve->type = entry.type;
    ve->attr = ATTRB_NONE;  // in RAM, unlocked, whatever the file's attribute byte says
    ve->size = static_cast<uint32_t>(payload.size());
    ve->data = static_cast<uint8_t*>(tifiles_ve_alloc_data(payload.size()));
    std::memcpy(ve->data, payload.data(), payload.size());
    tifiles_content_add_entry(content, ve);

    d.begin(control, payload.size() + 64);
    const int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_send_var(d.calc, MODE_NORMAL, content);
    d.end(error);
    tifiles_content_delete_regular(content);
    return d.classify(error, subject);
}

LinkResult<std::vector<CalcVariable>> Link::listPrograms(TransferControl* control) {
    Impl& d = *impl_;
    d.begin(control, 0);
    GNode* vars = nullptr;
    GNode* apps = nullptr;
    const int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_get_dirlist(d.calc, &vars, &apps);
    LinkResult<std::vector<CalcVariable>> result;
    if (!error) result.value = programsOf(vars);
    ticalcs_dirlist_destroy(&vars);
    ticalcs_dirlist_destroy(&apps);
    d.end(error);
    result.status = d.classify(error, {});
    return result;
}

LinkResult<Bytes> Link::receiveVariable(const std::string& qualifiedName, TransferControl* control) {
    Impl& d = *impl_;
    const std::string subject = calcToUtf8(qualifiedName);
    d.begin(control, 0);

    // The request names the variable's type, which the listing gives.
    GNode* vars = nullptr;
    GNode* apps = nullptr;
    int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_get_dirlist(d.calc, &vars, &apps);
    std::vector<CalcVariable> listed;
    if (!error) listed = variablesOf(vars, true);
    ticalcs_dirlist_destroy(&vars);
    ticalcs_dirlist_destroy(&apps);
    if (error) {
        d.end(error);
        return {{}, d.classify(error, subject)};
    }
    const auto [folder, name] = splitQualified(qualifiedName);
    const CalcVariable* found = nullptr;
    std::vector<std::string> holders;  // the folders' full names, for a name alone
    for (const CalcVariable& v : listed) {
        if (!folder.empty() && v.folder == folder && v.name == name) found = &v;
        if (folder.empty() && v.name == name) {
            found = &v;
            holders.push_back(calcToUtf8(v.qualifiedName()));
        }
    }
    if (!found || holders.size() > 1) d.end(calcs::kMissingVar);
    // A name alone that several folders hold is not guessed: each is named.
    if (holders.size() > 1) {
        std::string both = subject + " (";
        for (std::size_t i = 0; i < holders.size(); ++i) both += (i ? ", " : "") + holders[i];
        return {{}, LinkStatus::failure(MessageId::AmbiguousName, both + ")")};
    }
    if (!found) return {{}, LinkStatus::failure(MessageId::NoSuchVariable, subject)};
    return receiveVariable(CalcVariable(*found), control);
}

namespace {

// Receives one variable of a listing as the entry a file holds: its data without
// the size word, refused when that word does not match them. `expected` is the
// progress's whole, 0 when the caller reports progress itself.
LinkResult<TableEntry> receiveEntry(Link::Impl& d, const CalcVariable& listed, TransferControl* control,
                                    std::size_t expected) {
    const std::string subject = calcToUtf8(listed.qualifiedName());
    d.begin(control, expected);
    VarEntry* request = requestOf(listed);
    request->attr = ATTRB_NONE;
    FileContent* content = tifiles_content_create_regular(calcModelOf(d.options.calc, d.options.cable));
    const int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_recv_var(d.calc, MODE_NORMAL, content, request);
    Bytes payload;
    if (!error && content->num_entries == 1 && content->entries[0] && content->entries[0]->data)
        payload.assign(reinterpret_cast<const char*>(content->entries[0]->data), content->entries[0]->size);
    const std::uint8_t type = !error && content->num_entries == 1 ? content->entries[0]->type : listed.type;
    tifiles_content_delete_regular(content);
    tifiles_ve_delete(request);
    d.end(error);
    if (error) return {{}, d.classify(error, subject)};

    // The variable's size word, then its data.
    const std::size_t declared = payload.size() >= 2
                                     ? (static_cast<unsigned char>(payload[0]) << 8) | static_cast<unsigned char>(payload[1])
                                     : 0;
    if (payload.size() < 2 || declared != payload.size() - 2)
        return {{}, LinkStatus::failure(MessageId::Malformed, subject)};
    TableEntry entry;
    entry.folder = listed.folder;
    entry.name = listed.name;
    entry.type = type;
    entry.attribute = listed.archived ? 3 : listed.locked ? 1 : 0;
    entry.data = payload.substr(2);
    return {std::move(entry), {}};
}

}  // namespace

LinkResult<Bytes> Link::receiveVariable(const CalcVariable& listed, TransferControl* control) {
    Impl& d = *impl_;
    LinkResult<TableEntry> got = receiveEntry(d, listed, control, listed.size + 64);
    if (!got.ok()) return {{}, got.status};

    VariableTable table;
    const bool ti89 = isTi89(d.options.calc);
    table.signature = ti89 ? "**TI89**" : "**TI92P*";
    table.calculator = ti89 ? Calculator::TI89 : Calculator::TI92Plus;
    table.defaultFolder = listed.folder;
    table.comment = Bytes(layout::kCommentSize, '\0');
    return {singleVariableFile(table, got.value), {}};
}

LinkResult<std::vector<CalcVariable>> Link::listVariables(TransferControl* control) {
    Impl& d = *impl_;
    d.begin(control, 0);
    GNode* vars = nullptr;
    GNode* apps = nullptr;
    const int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_get_dirlist(d.calc, &vars, &apps);
    LinkResult<std::vector<CalcVariable>> result;
    if (!error) result.value = variablesOf(vars, true);
    ticalcs_dirlist_destroy(&vars);
    ticalcs_dirlist_destroy(&apps);
    d.end(error);
    result.status = d.classify(error, {});
    return result;
}

LinkStatus Link::execute(const std::string& qualifiedName, const std::string& arguments, TransferControl* control) {
    Impl& d = *impl_;
    const std::string subject = calcToUtf8(qualifiedName);
    const auto [folder, name] = splitQualified(qualifiedName);
    if (name.empty() || name.size() > layout::kFieldWidth || folder.size() > layout::kFieldWidth)
        return LinkStatus::failure(MessageId::BadName, subject);

    // The keys as the library's execute types them, one a byte of the line; bytes
    // are taken unsigned, so that the calculator's own letters above 127 stay theirs.
    std::vector<std::uint16_t> keys;
    if (isTi89(d.options.calc)) keys = {kKey89Home, kKeyClear, kKeyClear};
    else keys = {kKey92Home, kKeyClear, kKeyClear};
    for (const unsigned char c : qualifiedName) keys.push_back(c);
    keys.push_back(kKeyLeftParenthesis);
    for (const unsigned char c : arguments) keys.push_back(c);
    keys.push_back(kKeyRightParenthesis);
    keys.push_back(kKeyEnter);

    d.begin(control, 0);
    int error = 0;
    for (std::size_t i = 0; i < keys.size() && !error; ++i) {
        error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_send_key(d.calc, keys[i]);
        if (!error) d.report(static_cast<double>(i + 1) / static_cast<double>(keys.size() + 1));
    }
    d.end(error);
    return d.classify(error, subject);
}

LinkResult<Screen> Link::takeScreen(TransferControl* control) {
    Impl& d = *impl_;
    constexpr std::size_t kBytes = static_cast<std::size_t>(Screen::kRowBytes) * Screen::kHeight;
    d.begin(control, kBytes + 16);
    CalcScreenCoord coord{};
    coord.format = SCREEN_FULL;  // the clipped format packs rows yet reports 240 x 128
    uint8_t* bitmap = nullptr;
    const int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_recv_screen(d.calc, &coord, &bitmap);
    LinkResult<Screen> result;
    if (!error && bitmap) result.value.bits.assign(bitmap, bitmap + kBytes);
    if (bitmap) ticalcs_free_screen(bitmap);
    d.end(error);
    result.status = d.classify(error, {});
    return result;
}

LinkStatus Link::deleteVariable(const CalcVariable& listed, TransferControl* control) {
    Impl& d = *impl_;
    const std::string subject = calcToUtf8(listed.qualifiedName());
    if (listed.name.empty() || listed.name.size() > layout::kFieldWidth || listed.folder.size() > layout::kFieldWidth)
        return LinkStatus::failure(MessageId::BadName, subject);
    VarEntry* request = requestOf(listed);
    d.begin(control, 0);
    const int error = d.cancelRequested() ? calcs::kAbort : ticalcs_calc_del_var(d.calc, request);
    tifiles_ve_delete(request);
    d.end(error);
    return d.classify(error, subject);
}

LinkResult<Bytes> Link::backup(TransferControl* control) {
    Impl& d = *impl_;
    if (control && control->onProgress) control->onProgress(0);
    struct OwnProgress {
        Impl& d;
        explicit OwnProgress(Impl& impl) : d(impl) { d.ownProgress = true; }
        ~OwnProgress() { d.ownProgress = false; }
    } ownProgress(d);
    auto listed = listVariables(control);
    if (!listed.ok()) return {{}, listed.status};
    if (listed.value.empty()) return {{}, LinkStatus::failure(MessageId::NoSuchVariable)};

    std::size_t total = 0;
    for (const CalcVariable& v : listed.value) total += v.size + 64;
    std::vector<TableEntry> members;
    std::size_t done = 0;
    for (const CalcVariable& v : listed.value) {
        LinkResult<TableEntry> got = receiveEntry(d, v, control, 0);
        if (!got.ok()) return {{}, got.status};
        members.push_back(std::move(got.value));

        done += v.size + 64;
        if (control && control->onProgress) control->onProgress(std::min(0.99, static_cast<double>(done) / total));
    }
    Bytes file = writeGroupFile(isTi89(d.options.calc) ? "**TI89**" : "**TI92P*", members);
    if (control && control->onProgress) control->onProgress(1.0);
    return {std::move(file), {}};
}

}  // namespace korvane::link
