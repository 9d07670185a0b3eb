// Detokenizing and tokenizing the largest sample program (sseng__sgsgeo.89p, 21 KB).
#include <benchmark/benchmark.h>

#include <string>

#include "files/Detokenizer.h"
#include "editor/CharTable.h"
#include "files/Document.h"
#include "files/SyntaxCheck.h"
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

// The syntax check of the editor's command on the same program, as the editor holds
// it: the text-form file built from the Document, then tokenized.
void BM_CheckLargestSample(benchmark::State& state) {
    const korvane::DetokenizerAnswer text = korvane::Detokenizer().ProgramText(kLargest);
    const korvane::VariableRecord record = korvane::readVariableRecord(kLargest);
    if (!text.ok() || !record.ok()) {
        state.SkipWithError("sample not readable or not detokenized");
        return;
    }
    // The name field holds the argument list; the editor text the rest, CR LF.
    const std::size_t close = text.value.find(')');
    const std::string editorText = korvane::normaliseLineBreaks(text.value.substr(close + 1));
    const korvane::VariableFileInput document{"sgsgeo" + text.value.substr(0, close + 1), "main", editorText,
                                              record.header, korvane::trailerFor(korvane::ProgramKind::Program)};
    for (auto _ : state) {
        const korvane::SyntaxCheck c = korvane::checkSyntax(document);
        if (!c.ok) state.SkipWithError(("the sample does not check: " + c.message).c_str());
        benchmark::DoNotOptimize(c.ok);
    }
    state.counters["bytes"] = static_cast<double>(editorText.size());
}
BENCHMARK(BM_CheckLargestSample)->Unit(benchmark::kMillisecond);
