#include "link/SimulatedCalculator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <ticables.h>

namespace korvane::test {
namespace {

// Commands of the link protocol.
constexpr std::uint8_t kVar = 0x06;  // variable header
constexpr std::uint8_t kCts = 0x09;  // clear to send
constexpr std::uint8_t kScr = 0x6D;  // screen request
constexpr std::uint8_t kKey = 0x87;  // a key press, its code where the length stands
constexpr std::uint8_t kDel = 0x88;  // delete a variable
constexpr std::uint8_t kXdp = 0x15;  // data packet
constexpr std::uint8_t kSkp = 0x36;  // skip / refuse
constexpr std::uint8_t kAck = 0x56;
constexpr std::uint8_t kRdy = 0x68;  // ready check
constexpr std::uint8_t kEot = 0x92;  // end of transmission
constexpr std::uint8_t kReq = 0xA2;  // request a variable or a listing
constexpr std::uint8_t kRts = 0xC9;  // request to send a variable

constexpr std::uint8_t kListingRequest = 0x1A;  // the type of a listing request
constexpr std::uint8_t kFoldersListing = 0x1F;  // its size's top byte: the folders
constexpr std::uint8_t kFolderType = 0x1F;

constexpr int kPatienceMs = 3000;  // how long the calculator waits for the PC's next packet
constexpr int kByteWaitMs = 300;  // how long it waits for the rest of a packet
constexpr std::size_t kChunk = 1024;  // below the pipe's atomic write size

bool hasData(std::uint8_t command) {
    switch (command) {
    case 0x06: case 0x15: case 0x36: case 0x47: case 0x6F: case 0x70: case 0x88: case 0x89:
    case 0xA2: case 0xB7: case 0xC9: case 0xCA:
        return true;
    default:
        return false;
    }
}

std::uint16_t byteSum(const Bytes& data) {
    unsigned sum = 0;
    for (char c : data) sum += static_cast<unsigned char>(c);
    return static_cast<std::uint16_t>(sum);
}

std::uint32_t littleEndian(const Bytes& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

void putLittleEndian(Bytes& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string hex(unsigned v) {
    char t[8];
    std::snprintf(t, sizeof t, "%02X", v);
    return t;
}

CableHandle* handleOf(void* p) { return static_cast<CableHandle*>(p); }

}  // namespace

SimulatedCalculator::SimulatedCalculator(SimulatorSetup setup) : setup_(std::move(setup)) {}

SimulatedCalculator::~SimulatedCalculator() {
    if (CableHandle* h = handleOf(cable_)) {
        ticables_cable_close(h);
        ticables_handle_del(h);
    }
}

bool SimulatedCalculator::open(std::string& error) {
    CableHandle* h = ticables_handle_new(CABLE_TIE, PORT_2);
    if (!h) {
        error = "no handle for the virtual cable";
        return false;
    }
    ticables_options_set_timeout(h, 10);
    if (const int e = ticables_cable_open(h)) {
        error = "cannot open the virtual cable (error " + std::to_string(e) + ")";
        ticables_handle_del(h);
        return false;
    }
    cable_ = h;
    drainStaleBytes();
    return true;
}

// The PC's half of the virtual cable is a named pipe that stays alive while any
// process holds it open, and libticables never closes one of the descriptors it
// opens on it: bytes that a calculator left unread (one that stopped answering, a
// cancelled transfer) would be read as the start of the next session. A real
// calculator starts with an empty link; so does this one.
void SimulatedCalculator::drainStaleBytes() {
    const int fd = ::open("/tmp/.vlc_0_1", O_RDONLY | O_NONBLOCK);
    if (fd < 0) return;
    char buffer[4096];
    std::size_t drained = 0;
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) drained += static_cast<std::size_t>(n);
    ::close(fd);
    if (drained) note("dropped " + std::to_string(drained) + " stale bytes");
}

bool SimulatedCalculator::waitForData(int milliseconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        if (stop_ && stop_->load()) return false;
        CableStatus status = STATUS_NONE;
        if (ticables_cable_check(handleOf(cable_), &status)) return false;
        if (status & STATUS_RX) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    } while (std::chrono::steady_clock::now() < until);
    return false;
}

// Byte by byte, each within kByteWaitMs of the one before: libticables' own timeouts
// count the process's processor time, not the clock's.
bool SimulatedCalculator::readBytes(std::uint8_t* to, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!waitForData(kByteWaitMs) || ticables_cable_recv(handleOf(cable_), to + i, 1)) return false;
    return true;
}

bool SimulatedCalculator::readPacket(Packet& p) {
    std::uint8_t header[4] = {0, 0, 0, 0};
    if (!readBytes(header, 4)) return false;
    p.machine = header[0];
    p.command = header[1];
    p.length = static_cast<std::uint16_t>(header[2] | (header[3] << 8));
    p.data.clear();
    // Machine id 0 is what the cable gives once the PC has closed its end.
    if (p.machine == 0) return false;
    if (hasData(p.command)) {
        Bytes body(p.length + 2u, '\0');
        if (!readBytes(reinterpret_cast<std::uint8_t*>(body.data()), body.size())) {
            note("dropped the rest of command " + hex(p.command) + " length " + std::to_string(p.length));
            return false;
        }
        p.data = body.substr(0, p.length);
        const std::uint16_t sum = static_cast<std::uint16_t>(littleEndian(body, p.length, 2));
        if (sum != byteSum(p.data)) note("bad check sum on command " + hex(p.command));
    }
    note("PC " + hex(p.command) + " length " + std::to_string(p.length));
    return true;
}

bool SimulatedCalculator::expect(std::uint8_t command, Packet& p) {
    if (!waitForData(kPatienceMs) || !readPacket(p)) {
        note("no " + hex(command) + " from the PC");
        return false;
    }
    if (p.command != command) {
        // The PC left this exchange and starts another: serve that one.
        note("expected " + hex(command) + ", got " + hex(p.command));
        if (p.command != kAck) {
            pending_ = p;
            hasPending_ = true;
        }
        return false;
    }
    return true;
}

// Waits as asked before an answer; false when the PC sent something meanwhile: it
// gave up on this exchange, so the late answer is dropped and the new packet served.
bool SimulatedCalculator::stallIfAsked() {
    const int ms = stallMs_.exchange(0);
    if (ms <= 0) return true;
    note("stalls " + std::to_string(ms) + " ms");
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until && !(stop_ && stop_->load())) {
        CableStatus status = STATUS_NONE;
        if (!ticables_cable_check(handleOf(cable_), &status) && (status & STATUS_RX)) {
            note("the PC moved on: the late answer is dropped");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool SimulatedCalculator::sendRaw(const Bytes& bytes, std::size_t upTo) {
    for (std::size_t at = 0; at < upTo; at += kChunk) {
        const std::size_t n = std::min(kChunk, upTo - at);
        Bytes chunk = bytes.substr(at, n);
        if (ticables_cable_send(handleOf(cable_), reinterpret_cast<std::uint8_t*>(chunk.data()),
                                static_cast<std::uint32_t>(n)))
            return false;
    }
    return true;
}

bool SimulatedCalculator::send(std::uint8_t command, const Bytes& data, bool withData, std::size_t cutAfter) {
    Bytes packet;
    packet += static_cast<char>(setup_.machineId);
    packet += static_cast<char>(command);
    putLittleEndian(packet, static_cast<std::uint32_t>(data.size()), 2);
    if (withData) {
        packet += data;
        putLittleEndian(packet, byteSum(data), 2);
    }
    note("TI " + hex(command) + " length " + std::to_string(data.size()));
    return sendRaw(packet, cutAfter ? cutAfter : packet.size());
}

bool SimulatedCalculator::sendShort(std::uint8_t command, std::uint16_t status) {
    Bytes packet;
    packet += static_cast<char>(setup_.machineId);
    packet += static_cast<char>(command);
    putLittleEndian(packet, status, 2);
    note("TI " + hex(command));
    return sendRaw(packet, packet.size());
}

void SimulatedCalculator::serve(const std::atomic<bool>& stop) {
    stop_ = &stop;
    while (!stop.load()) {
        Packet p;
        if (hasPending_) {
            p = pending_;
            hasPending_ = false;
        } else {
            if (silent_ || setup_.mute || !waitForData(20)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(silent_ || setup_.mute ? 5 : 0));
                continue;
            }
            if (!readPacket(p)) continue;
        }
        switch (p.command) {
        case kRdy:
            // The status word's high byte, bit 0: not ready.
            sendShort(kAck, setup_.busy ? 0x0100 : 0x0000);
            break;
        case kRts:
            handleRts(p);
            break;
        case kReq:
            handleRequest(p);
            break;
        case kKey:
            handleKey(p);
            break;
        case kScr:
            handleScreen();
            break;
        case kDel:
            handleDelete(p);
            break;
        default:
            note("ignored " + hex(p.command));
            break;
        }
    }
}

// The PC sends a variable: size, type, name length, "folder\name".
void SimulatedCalculator::handleRts(const Packet& p) {
    if (p.data.size() < 6) return;
    const std::uint32_t size = littleEndian(p.data, 0, 4);
    const std::uint8_t type = static_cast<std::uint8_t>(p.data[4]);
    const std::string qualified = p.data.substr(6, static_cast<unsigned char>(p.data[5]));
    if (!sendShort(kAck)) return;
    if (setup_.refuseWith >= 0) {
        // Five bytes, the skip code in the third.
        send(kSkp, Bytes{'\x05', '\x00', static_cast<char>(setup_.refuseWith), '\x00', '\x00'}, true);
        return;
    }
    Packet reply, data;
    if (!sendShort(kCts) || !expect(kAck, reply) || !expect(kXdp, data)) return;
    if (setup_.cutMidway) {
        silent_ = true;
        note("silent from here on");
        return;
    }
    if (!stallIfAsked()) return;
    if (data.data.size() != size + 4u) {
        note("data of " + std::to_string(data.data.size()) + " bytes for size " + std::to_string(size));
        return;
    }
    if (!sendShort(kAck) || !expect(kEot, reply) || !sendShort(kAck)) return;
    SimVariable v;
    const auto slash = qualified.find('\\');
    v.folder = slash == std::string::npos ? std::string() : qualified.substr(0, slash);
    v.name = slash == std::string::npos ? qualified : qualified.substr(slash + 1);
    v.type = type;
    v.payload = data.data.substr(4);
    v.attribute = 0;
    // It replaces a variable of that name, and is listed from now on.
    auto same = std::find_if(setup_.held.begin(), setup_.held.end(),
                             [&v](const SimVariable& h) { return h.qualifiedName() == v.qualifiedName(); });
    if (same != setup_.held.end()) *same = v;
    else setup_.held.push_back(v);
    received_.push_back(std::move(v));
}

Bytes SimulatedCalculator::entry(const std::string& name, std::uint8_t type, std::uint32_t size,
                                 std::uint8_t attribute) const {
    Bytes e(8, '\0');
    e.replace(0, std::min<std::size_t>(name.size(), 8), name.substr(0, 8));
    e += static_cast<char>(type);
    e += static_cast<char>(attribute);
    putLittleEndian(e, size, 3);
    e += '\0';
    if (setup_.voyage200) e += Bytes(8, '\0');
    return e;
}

Bytes SimulatedCalculator::folderListing() const {
    std::vector<std::string> folders;
    for (const SimVariable& v : setup_.held)
        if (std::find(folders.begin(), folders.end(), v.folder) == folders.end()) folders.push_back(v.folder);
    // A calculator always has its main folder, empty or not.
    if (folders.empty()) folders.push_back("main");
    Bytes block(4, '\0');
    for (const std::string& f : folders) {
        std::uint32_t count = 0;
        for (const SimVariable& v : setup_.held) count += v.folder == f;
        block += entry(f, kFolderType, count);
    }
    return block;
}

Bytes SimulatedCalculator::variableListing(const std::string& folder) const {
    Bytes block(4, '\0');
    std::uint32_t count = 0;
    for (const SimVariable& v : setup_.held) count += v.folder == folder;
    block += entry(folder, kFolderType, count);  // the folder itself comes first
    for (const SimVariable& v : setup_.held)
        if (v.folder == folder) block += entry(v.name, v.type, static_cast<std::uint32_t>(v.payload.size()), v.attribute);
    return block;
}

void SimulatedCalculator::sendListing(const Bytes& block, const std::string& headerName) {
    Bytes header;
    putLittleEndian(header, static_cast<std::uint32_t>(block.size()), 4);
    header += static_cast<char>(kListingRequest);
    header += static_cast<char>(headerName.size());
    header += headerName;
    Packet reply;
    if (!sendShort(kAck) || !send(kVar, header, true) || !expect(kAck, reply) || !expect(kCts, reply) ||
        !sendShort(kAck) || !send(kXdp, block, true) || !expect(kAck, reply) || !sendShort(kEot) ||
        !expect(kAck, reply))
        note("listing not finished");
}

void SimulatedCalculator::sendVariable(const SimVariable& v) {
    Bytes header;
    putLittleEndian(header, static_cast<std::uint32_t>(v.payload.size()), 4);
    header += static_cast<char>(v.type);
    header += static_cast<char>(v.name.size());
    header += v.name;
    Packet reply;
    if (!sendShort(kAck) || !send(kVar, header, true) || !expect(kAck, reply) || !expect(kCts, reply) ||
        !sendShort(kAck))
        return;
    const Bytes data = Bytes(4, '\0') + v.payload;
    if (setup_.cutMidway) {
        // The header and half the data, then nothing more.
        send(kXdp, data, true, 4 + data.size() / 2);
        silent_ = true;
        note("silent from here on");
        return;
    }
    if (!stallIfAsked()) return;
    if (!send(kXdp, data, true) || !expect(kAck, reply) || !sendShort(kEot) || !expect(kAck, reply))
        note("variable not finished");
}

// The PC asks for a listing (type 0x1A; the size's top byte says which) or a variable.
void SimulatedCalculator::handleRequest(const Packet& p) {
    if (p.data.size() < 6) return;
    const std::uint32_t size = littleEndian(p.data, 0, 4);
    const std::uint8_t type = static_cast<std::uint8_t>(p.data[4]);
    const std::string name = p.data.substr(6, static_cast<unsigned char>(p.data[5]));
    if (type == kListingRequest) {
        if ((size >> 24) == kFoldersListing) sendListing(folderListing(), {});
        else sendListing(variableListing(name), name);
        return;
    }
    for (const SimVariable& v : setup_.held) {
        if (v.qualifiedName() == name) {
            sendVariable(v);
            return;
        }
    }
    sendShort(kAck);
    send(kSkp, Bytes{'\x05', '\x00', '\x25', '\x00', '\x00'}, true);
}

// A key: acknowledged as it is pressed, unless the calculator is set to ignore keys.
void SimulatedCalculator::handleKey(const Packet& p) {
    if (setup_.keysUnanswered) {
        note("key " + std::to_string(p.length) + " not acknowledged");
        return;
    }
    keys_.push_back(p.length);
    sendShort(kAck);
}

// The screen: an ACK, then its 3,840 bytes in one data packet that the PC acknowledges.
void SimulatedCalculator::handleScreen() {
    Bytes bits = setup_.screen;
    bits.resize(30 * 128, '\0');
    if (!sendShort(kAck)) return;
    if (setup_.cutScreen) {
        send(kXdp, bits, true, 4 + bits.size() / 2);
        silent_ = true;
        note("silent from here on");
        return;
    }
    if (!stallIfAsked()) return;
    Packet reply;
    if (!send(kXdp, bits, true) || !expect(kAck, reply)) note("screen not finished");
}

// A delete names the variable as a request does; the calculator answers two ACKs, or
// an ACK and a skip code when it refuses.
void SimulatedCalculator::handleDelete(const Packet& p) {
    if (p.data.size() < 6) return;
    const std::string name = p.data.substr(6, static_cast<unsigned char>(p.data[5]));
    if (!sendShort(kAck)) return;
    auto held = std::find_if(setup_.held.begin(), setup_.held.end(),
                             [&name](const SimVariable& h) { return h.qualifiedName() == name; });
    if (setup_.refuseDeleteWith >= 0 || held == setup_.held.end()) {
        const int code = setup_.refuseDeleteWith >= 0 ? setup_.refuseDeleteWith : 0x25;
        send(kSkp, Bytes{'\x05', '\x00', static_cast<char>(code), '\x00', '\x00'}, true);
        return;
    }
    setup_.held.erase(held);
    deleted_.push_back(name);
    sendShort(kAck);
}

}  // namespace korvane::test
