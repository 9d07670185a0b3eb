// Indenting a 64 KB program by its blocks, flat and already indented, and finding
// the step it uses.
#include <benchmark/benchmark.h>

#include "editor/Indent.h"
#include "support/SamplePrograms.h"

namespace {

using namespace korvane;

void BM_IndentProgram(benchmark::State& state) {
    std::string text = programs::largeProgram(64 * 1024);
    if (state.range(0) == 0) text = indentProgram(text, 0);
    for (auto _ : state) benchmark::DoNotOptimize(indentProgram(text, 2));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_IndentProgram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_IndentStepOf(benchmark::State& state) {
    const std::string text = programs::largeProgram(64 * 1024);
    for (auto _ : state) benchmark::DoNotOptimize(indentStepOf(text));
}
BENCHMARK(BM_IndentStepOf)->Unit(benchmark::kMillisecond);

}  // namespace
