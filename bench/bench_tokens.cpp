// Detokenizing and tokenizing the largest sample program (sseng__sgsgeo.89p, 21 KB).
#include <benchmark/benchmark.h>

#include <string>

#include "files/Detokenizer.h"
#include "files/Tokens.h"

namespace {

const std::string kLargest = std::string(KORVANE_SAMPLES_DIR) + "/sseng__sgsgeo.89p";

void BM_DetokenizeLargestSample(benchmark::State& state) {
    const korvane::VariableRecord record = korvane::readVariableRecord(kLargest);
    if (!record.ok()) {
        state.SkipWithError(("sample not readable: " + record.error).c_str());
        return;
    }
    for (auto _ : state) {
        korvane::DetokenizeResult result = korvane::detokenize(record.data);
        benchmark::DoNotOptimize(result.text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * record.data.size()));
}
BENCHMARK(BM_DetokenizeLargestSample)->Unit(benchmark::kMillisecond);

void BM_TokenizeLargestSample(benchmark::State& state) {
    const korvane::VariableRecord record = korvane::readVariableRecord(kLargest);
    const korvane::DetokenizeResult text = record.ok() ? korvane::detokenize(record.data) : korvane::DetokenizeResult{};
    if (!record.ok() || !text.ok()) {
        state.SkipWithError("sample not readable or not detokenized");
        return;
    }
    for (auto _ : state) {
        korvane::TokenizeResult result = korvane::tokenize(text.text);
        benchmark::DoNotOptimize(result.data.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.text.size()));
}
BENCHMARK(BM_TokenizeLargestSample)->Unit(benchmark::kMillisecond);

}  // namespace
