// The help while writing's rules on the largest sample (sseng__sgsgeo.89p, 21 KB): the
// command at the caret on every line, the program's own names (Ctrl+Space and the
// "Aller à" menu read them whole), and completion's word list.
#include <benchmark/benchmark.h>

#include "editor/CharTable.h"
#include "editor/WritingHelp.h"
#include "files/Detokenizer.h"

namespace {

using namespace korvane;

const std::string kLargest = std::string(KORVANE_SAMPLES_DIR) + "/sseng__sgsgeo.89p";

// The editor text of the sample, empty when it cannot be read.
std::string editorText() {
    const DetokenizerAnswer text = Detokenizer().ProgramText(kLargest);
    if (!text.ok()) return {};
    return normaliseLineBreaks(text.value.substr(text.value.find(')') + 1));
}

void BM_CommandAtEveryLine(benchmark::State& state) {
    const std::string text = editorText();
    if (text.empty()) return state.SkipWithError("sample not readable");
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    for (auto _ : state)
        for (const std::string& line : lines) benchmark::DoNotOptimize(commandAt(line, line.size() > 3 ? 3 : 0).help);
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_CommandAtEveryLine)->Unit(benchmark::kMicrosecond);

void BM_ProgramNames(benchmark::State& state) {
    const std::string text = editorText();
    if (text.empty()) return state.SkipWithError("sample not readable");
    for (auto _ : state) benchmark::DoNotOptimize(programNames("sgsgeo()", text).size());
    state.counters["names"] = static_cast<double>(programNames("sgsgeo()", text).size());
}
BENCHMARK(BM_ProgramNames)->Unit(benchmark::kMicrosecond);

void BM_CompletionsForOneLetter(benchmark::State& state) {
    const std::string text = editorText();
    if (text.empty()) return state.SkipWithError("sample not readable");
    const std::vector<ProgramName> own = programNames("sgsgeo()", text);
    for (auto _ : state) benchmark::DoNotOptimize(completionsFor("s", own).size());
}
BENCHMARK(BM_CompletionsForOneLetter)->Unit(benchmark::kMicrosecond);

}  // namespace
