// The link's operations on the virtual cable against the simulated calculator
// (korvane_link_sim, started for each benchmark): running main\hi(1,2) by its
// keys, taking the screen, listing 200 variables, backing 50 up into a group file.
// Run it alone on the machine, inside a private /tmp and IPC namespace, as the link
// tests are.
#include <benchmark/benchmark.h>

#include <chrono>

#include "link/Link.h"
#include "link/SimulatorProcess.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

link::LinkOptions virtualCable() {
    link::LinkOptions o;
    o.cable = link::Cable::TiEmu;
    o.port = 1;
    return o;
}

// A calculator holding what `arguments` say, and a link to it; the benchmark is
// skipped with the reason when either is missing.
struct Session {
    test::ScratchDir dir;
    test::SimulatorProcess calculator;
    std::unique_ptr<link::Link> link;

    Session(benchmark::State& state, std::vector<std::string> arguments) : calculator(dir, std::move(arguments)) {
        if (!calculator.ready()) {
            state.SkipWithError("the simulated calculator did not start");
            return;
        }
        auto opened = link::Link::open(virtualCable());
        if (!opened.ok()) {
            state.SkipWithError(opened.status.message(link::Language::English).c_str());
            return;
        }
        link = std::move(opened.value);
    }
};

void fail(benchmark::State& state, const link::LinkStatus& status) {
    state.SkipWithError(status.message(link::Language::English).c_str());
}

// libticalcs waits 50 ms after each key it sends; main\hi(1,2) is 16 keys with
// HOME, CLEAR, CLEAR and ENTER: 0.8 s of the library's own pauses.
void BM_RunMainHi(benchmark::State& state) {
    Session s(state, {});
    if (!s.link) return;
    const std::string line = "main\\hi(1,2)";
    const double keys = 3.0 + static_cast<double>(line.size()) + 1.0;
    for (auto _ : state) {
        const link::LinkStatus status = s.link->execute("main\\hi", "1,2");
        if (!status.ok()) return fail(state, status);
    }
    state.counters["keys"] = keys;
    state.counters["library_pauses_s"] = keys * 0.050;
}
BENCHMARK(BM_RunMainHi)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_Screen(benchmark::State& state) {
    Session s(state, {});
    if (!s.link) return;
    for (auto _ : state) {
        const auto taken = s.link->takeScreen();
        if (!taken.ok()) return fail(state, taken.status);
    }
}
BENCHMARK(BM_Screen)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_List200Variables(benchmark::State& state) {
    Session s(state, {"--many", "200"});
    if (!s.link) return;
    for (auto _ : state) {
        const auto listed = s.link->listVariables();
        if (!listed.ok() || listed.value.size() != 200) return fail(state, listed.status);
    }
}
BENCHMARK(BM_List200Variables)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// libticalcs waits 250 ms after each variable it receives: 12.5 s of its own for 50.
void BM_Backup50Variables(benchmark::State& state) {
    Session s(state, {"--many", "50"});
    if (!s.link) return;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto group = s.link->backup();
        if (!group.ok()) return fail(state, group.status);
        bytes = group.value.size();
    }
    state.counters["group_bytes"] = static_cast<double>(bytes);
    state.counters["library_pauses_s"] = 50 * 0.250;
}
BENCHMARK(BM_Backup50Variables)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
