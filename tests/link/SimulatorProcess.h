#pragma once
// Starts korvane_link_sim, waits until its end of the virtual cable is open, and
// stops it; what it received and logged can then be read back.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

extern char** environ;

namespace korvane::test {

// libticables' virtual cable keeps a reference count in a shared memory segment
// keyed on /tmp. A process killed with the cable open leaves it behind, and the
// cable then looks held by somebody: drop it when nobody is attached to it.
inline void dropStaleVirtualCable() {
    const key_t key = ftok("/tmp", 0x1234);
    if (key == -1) return;
    const int id = shmget(key, 0, 0);
    if (id == -1) return;
    shmid_ds state{};
    if (shmctl(id, IPC_STAT, &state) == 0 && state.shm_nattch == 0) shmctl(id, IPC_RMID, nullptr);
}

// Equal bytes, or where they first differ (variables are too long to print whole).
inline ::testing::AssertionResult sameBytes(const std::string& got, const std::string& expected) {
    if (got == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << got.size() << " bytes for " << expected.size()
                                         << " expected, first difference at offset " << at;
}

class SimulatorProcess {
public:
    // `arguments` after the program's name; --received points into `dir`.
    SimulatorProcess(const ScratchDir& dir, std::vector<std::string> arguments) : dir_(dir) {
        dropStaleVirtualCable();
        arguments.insert(arguments.begin(), {KORVANE_LINK_SIM_PATH, "--received", dir.path().string()});
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, logPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
        fcntl(toChild_, F_SETFD, FD_CLOEXEC);
        fcntl(fromChild_, F_SETFD, FD_CLOEXEC);
        if (pid_ > 0) ready_ = readLine(5000) == "ready";
    }

    ~SimulatorProcess() { finish(); }

    bool ready() const { return ready_; }

    // The next variable's data, sent or received, wait `milliseconds` for the
    // calculator's answer; true once the simulator has taken it.
    bool stallNext(int milliseconds) {
        const std::string line = "stall " + std::to_string(milliseconds) + "\n";
        if (toChild_ < 0 || write(toChild_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return false;
        return readLine(5000) == "stall set";
    }

    // Closes the simulator's input and waits for it to end (killing it after 10 s);
    // its exit status.
    int finish() {
        if (toChild_ >= 0) {
            close(toChild_);
            toChild_ = -1;
        }
        if (pid_ > 0) {
            int raw = 0;
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (waitpid(pid_, &raw, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > until) {
                    kill(pid_, SIGKILL);
                    waitpid(pid_, &raw, 0);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            pid_ = -1;
        }
        if (fromChild_ >= 0) {
            close(fromChild_);
            fromChild_ = -1;
        }
        return status_;
    }

    // What the PC sent, in order: the size word and data, and "folder\name".
    struct Received {
        Bytes payload;
        std::string qualifiedName;
        int type = 0;
    };
    std::vector<Received> received() const {
        std::vector<Received> out;
        for (int n = 1;; ++n) {
            const std::string base = dir_.file(std::to_string(n));
            if (!std::filesystem::exists(base + ".data")) break;
            Received r;
            r.payload = ScratchDir::read(base + ".data");
            const std::string name = ScratchDir::read(base + ".name");
            const auto cut = name.find('\n');
            r.qualifiedName = name.substr(0, cut);
            r.type = std::atoi(name.c_str() + cut + 1);
            out.push_back(std::move(r));
        }
        return out;
    }

    std::string log() const { return ScratchDir::read(logPath()); }

private:
    std::string logPath() const { return dir_.file("simulator.log"); }

    std::string readLine(int milliseconds) {
        std::string line;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < until) {
            pollfd p{fromChild_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            char c;
            if (read(fromChild_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return line;
    }

    const ScratchDir& dir_;
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    bool ready_ = false;
    int status_ = -1;
};

}  // namespace korvane::test
