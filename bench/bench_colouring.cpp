// The full colouring's cost: building the document grows linearly with the text;
// the splice-by-splice transcription is kept here for comparison.
#include <benchmark/benchmark.h>

#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"
#include "support/LiteralColouring.h"
#include "support/SamplePrograms.h"

namespace {

using namespace korvane;

void BM_ColouringDocument(benchmark::State& state) {
    const std::string text = programs::largeProgram(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(coloriserDocument(text, ColourTable{}, "10"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ColouringDocument)->Arg(64 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

void BM_ColouringDocumentSpliceBySplice(benchmark::State& state) {
    const std::string text = programs::largeProgram(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(literal::document(text, "20"));
}
BENCHMARK(BM_ColouringDocumentSpliceBySplice)->Arg(64 * 1024)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadBackDocument(benchmark::State& state) {
    const std::string text = programs::largeProgram(static_cast<size_t>(state.range(0)), true);
    const std::string doc = coloriserDocument(text, ColourTable{}, "10");
    for (auto _ : state) benchmark::DoNotOptimize(colouringChangeFor(text, parseColouringDocument(doc)));
}
BENCHMARK(BM_ReadBackDocument)->Arg(64 * 1024)->Unit(benchmark::kMillisecond);

void BM_ColorierToutInMemory(benchmark::State& state) {
    const std::string text = programs::largeProgram(64 * 1024, state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        MemoryEditor editor(text);
        int pos = 0;
        state.ResumeTiming();
        colorierTout(editor, pos, "10");
    }
}
BENCHMARK(BM_ColorierToutInMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
