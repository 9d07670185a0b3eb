// Timing of the editing rules on a 64 KB program: the line recolouring that runs
// after each trigger key, an insertion (which recolours the whole text) and a
// search across the whole text.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/MemoryEditor.h"
#include "editor/Search.h"
#include "editor/TypingColour.h"
#include "insert/Insertion.h"

namespace korvane {
namespace {

std::string program64k() {
    const std::string lines[] = {
        "if x>0 then:disp \"if x\",y\r\n",
        "  for i,1,10:output i*8,0,\"a//b\":endfor\r\n",
        "\xA9 a comment with while and stop\r\n",
        "local a,b:a+b\x16" "c:request \"Name\",n\r\n",
    };
    std::string text = "\r\nPrgm\r\n";
    for (size_t i = 0; text.size() < 64 * 1024; ++i) text += lines[i % 4];
    return text + "EndPrgm";
}

void BM_coloriserLigne(benchmark::State& state) {
    MemoryEditor editor(program64k());
    const int caret = editor.length() / 2;
    editor.setCaret(editor.text().find("\r\n", caret) - 3);
    for (auto _ : state) {
        coloriserLigne(editor, TypingColours{}, vk::Space);
        benchmark::DoNotOptimize(editor.caret());
    }
    state.counters["bytes"] = editor.length();
}
BENCHMARK(BM_coloriserLigne)->Unit(benchmark::kMicrosecond);

void BM_coloriserLigneAfterReturn(benchmark::State& state) {
    MemoryEditor editor(program64k());
    editor.setCaret(static_cast<int>(editor.text().find("\r\n", editor.length() / 2)) + 2);
    for (auto _ : state) {
        coloriserLigne(editor, TypingColours{}, vk::Return);
        benchmark::DoNotOptimize(editor.caret());
    }
}
BENCHMARK(BM_coloriserLigneAfterReturn)->Unit(benchmark::kMicrosecond);

void BM_ajoutText(benchmark::State& state) {
    const std::string text = program64k();
    for (auto _ : state) {
        state.PauseTiming();
        MemoryEditor editor(text);
        editor.setCaret(editor.length() / 2);
        int posCurseur = 0;
        EditorContext context{editor, posCurseur, "10"};
        state.ResumeTiming();
        ajoutText(context, "For \r\n\r\nEndFor", 4);
        benchmark::DoNotOptimize(editor.caret());
    }
}
BENCHMARK(BM_ajoutText)->Unit(benchmark::kMillisecond);

// The search runs over the whole text twice: the test that the text occurs at all,
// then the search from the caret, which finds the closing keyword at the end.
void BM_findNextAcrossTheText(benchmark::State& state) {
    MemoryEditor editor(program64k());
    ScriptedPrompt prompt;
    TextSearch search(editor, prompt);
    for (auto _ : state) {
        editor.setCaret(8);
        search.findNext("endprgm");
        benchmark::DoNotOptimize(editor.selectionStart());
    }
}
BENCHMARK(BM_findNextAcrossTheText)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvane
