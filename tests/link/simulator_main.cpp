// korvane_link_sim: a simulated calculator on the virtual cable's port 2, for the
// link tests. It prints "ready" once the cable is open, answers on a thread of its
// own, and stops when its standard input closes; each variable the PC sent is then
// in DIR/N.data (size word and data) and DIR/N.name ("folder\name", then the type).
// A line "stall MS" on its standard input makes the next variable's data wait MS
// milliseconds for their answer; it says "stall set" once it is.
//
// It runs as a process of its own because libticables keeps the virtual cable's
// state in globals, one set per process: two ends in one process share them.
//
//   korvane_link_sim [--calc ti89|ti89t|ti92p|v200] [--hold FILE]... [--refuse CODE]
//                    [--busy] [--mute] [--cut] [--received DIR]
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
    for (const TableEntry* e : table.programs()) {
        test::SimVariable v{e->folder, e->name, e->type, {}};
        v.payload += static_cast<char>((e->data.size() >> 8) & 0xFF);
        v.payload += static_cast<char>(e->data.size() & 0xFF);
        v.payload += e->data;
        setup.held.push_back(std::move(v));
    }
    return true;
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
        std::cout << "received " << n << std::endl;
    }  // closes the cable
    ticables_library_exit();
    return status;
}
