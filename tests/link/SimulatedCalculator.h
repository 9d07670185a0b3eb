#pragma once
// The calculator's side of the TI-89 / TI-92 Plus link protocol, on libticables'
// virtual cable: enough of it for the PC side (libticalcs) to check that the
// calculator is ready, send it a variable, list its folders and variables (with
// their attributes) and receive one, press keys, take its screen and delete a
// variable. It can also refuse a variable with a skip code, say it is busy,
// never answer, stop answering in the middle of a variable's data, or stall there
// for a while and then answer late.
//
// As a calculator does, it drops an exchange that the PC left: a packet that is not
// the one it waits for starts a new exchange, and a packet whose bytes stop coming
// is dropped after a short wait.
//
// Packets: machine id, command, 16-bit length, then for commands with data the
// data and their 16-bit byte sum, all little-endian.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "files/VariableFile.h"

namespace korvane::test {

struct SimVariable {
    std::string folder;
    std::string name;
    std::uint8_t type = 0;
    Bytes payload;  // as the link carries it: the big-endian size word, then the data
    std::uint8_t attribute = 0;  // the listing's: bit 0 locked, bit 1 archived
    std::string qualifiedName() const { return folder.empty() ? name : folder + "\\" + name; }
};

struct SimulatorSetup {
    std::uint8_t machineId = 0x98;  // 0x98 for the TI-89 models, 0x88 for the TI-92 Plus and Voyage 200
    bool voyage200 = false;         // its listings carry 8 more bytes per entry
    std::vector<SimVariable> held;  // what the calculator holds, in listing order
    int refuseWith = -1;            // a skip code for every variable the PC sends
    bool busy = false;              // answers the ready check with "not ready"
    bool mute = false;              // opens the cable and never answers
    bool cutMidway = false;         // goes silent in the middle of a variable's data
    Bytes screen;                   // the screen it shows: 3,840 bytes, 30 a row
    int refuseDeleteWith = -1;      // a skip code for every delete
    bool keysUnanswered = false;    // never acknowledges a key
    bool cutScreen = false;         // goes silent in the middle of the screen's data
};

class SimulatedCalculator {
public:
    explicit SimulatedCalculator(SimulatorSetup setup);
    ~SimulatedCalculator();

    // Opens the virtual cable on port 2, the PC's end being port 1; false with the
    // reason in `error`.
    bool open(std::string& error);
    // Answers the PC until `stop` is set.
    void serve(const std::atomic<bool>& stop);
    // The next variable's data, sent or received, waits `milliseconds` before its
    // answer, as a calculator busy elsewhere would; callable from another thread.
    void stallNext(int milliseconds) { stallMs_.store(milliseconds); }

    const std::vector<SimVariable>& received() const { return received_; }
    const std::vector<std::string>& log() const { return log_; }
    // The keys pressed through the link, in order, and the variables deleted.
    const std::vector<std::uint16_t>& keys() const { return keys_; }
    const std::vector<std::string>& deleted() const { return deleted_; }

private:
    struct Packet {
        std::uint8_t machine = 0;
        std::uint8_t command = 0;
        std::uint16_t length = 0;
        Bytes data;
    };

    void drainStaleBytes();
    bool stallIfAsked();
    bool readBytes(std::uint8_t* to, std::size_t count);
    bool readPacket(Packet& p);
    bool waitForData(int milliseconds);
    bool expect(std::uint8_t command, Packet& p);
    bool sendRaw(const Bytes& bytes, std::size_t upTo);
    bool send(std::uint8_t command, const Bytes& data = {}, bool withData = false, std::size_t cutAfter = 0);
    bool sendShort(std::uint8_t command, std::uint16_t status = 0);
    void handleRts(const Packet& p);
    void handleRequest(const Packet& p);
    void handleKey(const Packet& p);
    void handleScreen();
    void handleDelete(const Packet& p);
    void sendListing(const Bytes& block, const std::string& headerName);
    void sendVariable(const SimVariable& v);
    Bytes folderListing() const;
    Bytes variableListing(const std::string& folder) const;
    Bytes entry(const std::string& name, std::uint8_t type, std::uint32_t size, std::uint8_t attribute = 0) const;
    void note(const std::string& line) { log_.push_back(line); }

    SimulatorSetup setup_;
    void* cable_ = nullptr;  // libticables' CableHandle
    const std::atomic<bool>* stop_ = nullptr;
    bool silent_ = false;
    std::atomic<int> stallMs_{0};
    bool hasPending_ = false;  // a packet that ended an exchange, to serve next
    Packet pending_;
    std::vector<SimVariable> received_;
    std::vector<std::string> log_;
    std::vector<std::uint16_t> keys_;
    std::vector<std::string> deleted_;
};

}  // namespace korvane::test
