// korvane_link_sim: a simulated calculator on the virtual cable's port 2, for the
// link tests. It prints "ready" once the cable is open, answers on a thread of its
// own, and stops when its standard input closes; each variable the PC sent is then
// in DIR/N.data (size word and data) and DIR/N.name ("folder\name", then the type),
// the keys pressed in DIR/keys (one code a line), the variables deleted in
// DIR/deleted (one "folder\name" a line).
// A line "stall MS" on its standard input makes the next variable's data wait MS
// milliseconds for their answer; it says "stall set" once it is.
//
// It runs as a process of its own because libticables keeps the virtual cable's
// state in globals, one set per process: two ends in one process share them.
//
//   korvane_link_sim [--calc ti89|ti89t|ti92p|v200] [--hold FILE]... [--refuse CODE]
//                    [--busy] [--mute] [--cut] [--received DIR]
//                    [--flags FOLDER\NAME=ATTRIBUTE]... [--many N] [--screen FILE]
//                    [--refuse-delete CODE] [--deaf-keys] [--cut-screen]
// --hold takes every variable of a single or group file; --many adds N variables of
// every type over several folders; --screen holds 3,840 bytes as the screen.
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <ticables.h>

#include "files/VariableTable.h"
#include "link/SimulatedCalculator.h"

using namespace korvane;

namespace {

bool hold(const std::string& path, test::SimulatorSetup& setup) {
    Bytes bytes;
    if (!readWholeFile(path, bytes).empty()) return false;
    const VariableTable table = readVariableTable(bytes);
    if (!table.ok()) return false;
    for (const TableEntry& e : table.variables) {
        test::SimVariable v{e.folder, e.name, e.type, {}};
        v.payload += static_cast<char>((e.data.size() >> 8) & 0xFF);
        v.payload += static_cast<char>(e.data.size() & 0xFF);
        v.payload += e.data;
        setup.held.push_back(std::move(v));
    }
    return true;
}

// `count` variables over five folders, every listed type in turn, of growing sizes.
void holdMany(int count, test::SimulatorSetup& setup) {
    static const std::uint8_t types[] = {0x12, 0x13, 0x04, 0x06, 0x00, 0x0C, 0x0B, 0x10, 0x0A, 0x0E, 0x14, 0x21};
    for (int i = 0; i < count; ++i) {
        test::SimVariable v;
        v.folder = "f" + std::to_string(i % 5);
        v.name = "v" + std::to_string(i);
        v.type = types[i % (sizeof types)];
        const std::size_t size = 20 + static_cast<std::size_t>(i % 50) * 10;
        v.payload += static_cast<char>((size >> 8) & 0xFF);
        v.payload += static_cast<char>(size & 0xFF);
        for (std::size_t k = 0; k < size; ++k) v.payload += static_cast<char>((i * 31 + k) & 0xFF);
        setup.held.push_back(std::move(v));
    }
}

}  // namespace

int main(int argc, char** argv) {
    test::SimulatorSetup setup;
    std::string receivedDir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--calc" && hasValue) {
            const std::string calc = argv[++i];
            setup.machineId = calc == "ti92p" || calc == "v200" ? 0x88 : 0x98;
            setup.voyage200 = calc == "v200";
        } else if (a == "--hold" && hasValue) {
            if (!hold(argv[++i], setup)) {
                std::cout << "error: cannot read " << argv[i] << std::endl;
                return 2;
            }
        } else if (a == "--refuse" && hasValue) {
            setup.refuseWith = static_cast<int>(std::strtol(argv[++i], nullptr, 0));
        } else if (a == "--received" && hasValue) {
            receivedDir = argv[++i];
        } else if (a == "--flags" && hasValue) {
            const std::string assignment = argv[++i];
            const auto equal = assignment.find('=');
            bool found = false;
            for (test::SimVariable& v : setup.held)
                if (equal != std::string::npos && v.qualifiedName() == assignment.substr(0, equal)) {
                    v.attribute = static_cast<std::uint8_t>(std::atoi(assignment.c_str() + equal + 1));
                    found = true;
                }
            if (!found) {
                std::cout << "error: no variable for " << assignment << std::endl;
                return 2;
            }
        } else if (a == "--many" && hasValue) {
            holdMany(std::atoi(argv[++i]), setup);
        } else if (a == "--screen" && hasValue) {
            if (!readWholeFile(argv[++i], setup.screen).empty()) {
                std::cout << "error: cannot read " << argv[i] << std::endl;
                return 2;
            }
        } else if (a == "--refuse-delete" && hasValue) {
            setup.refuseDeleteWith = static_cast<int>(std::strtol(argv[++i], nullptr, 0));
        } else if (a == "--deaf-keys") {
            setup.keysUnanswered = true;
        } else if (a == "--cut-screen") {
            setup.cutScreen = true;
        } else if (a == "--busy") {
            setup.busy = true;
        } else if (a == "--mute") {
            setup.mute = true;
        } else if (a == "--cut") {
            setup.cutMidway = true;
        } else {
            std::cout << "error: unknown argument " << a << std::endl;
            return 2;
        }
    }

    ticables_library_init();
    int status = 0;
    {
        test::SimulatedCalculator calculator(setup);
        std::string error;
        if (!calculator.open(error)) {
            std::cout << "error: " << error << std::endl;
            return 1;
        }
        std::cout << "ready" << std::endl;

        std::atomic<bool> stop{false};
        std::thread protocol([&] { calculator.serve(stop); });
        std::string line;
        while (std::getline(std::cin, line)) {
            if (line.rfind("stall ", 0) == 0) {
                calculator.stallNext(std::atoi(line.c_str() + 6));
                std::cout << "stall set" << std::endl;
            }
        }
        stop.store(true);
        protocol.join();

        for (const std::string& line : calculator.log()) std::cerr << line << "\n";
        int n = 0;
        for (const test::SimVariable& v : calculator.received()) {
            ++n;
            if (receivedDir.empty()) continue;
            const std::string base = receivedDir + "/" + std::to_string(n);
            std::ofstream(base + ".data", std::ios::binary) << v.payload;
            std::ofstream(base + ".name", std::ios::binary) << v.qualifiedName() << "\n" << int(v.type) << "\n";
        }
        if (!receivedDir.empty()) {
            std::ofstream keys(receivedDir + "/keys", std::ios::binary);
            for (const std::uint16_t k : calculator.keys()) keys << k << "\n";
            std::ofstream deleted(receivedDir + "/deleted", std::ios::binary);
            for (const std::string& d : calculator.deleted()) deleted << d << "\n";
        }
        std::cout << "received " << n << std::endl;
    }  // closes the cable
    ticables_library_exit();
    return status;
}
