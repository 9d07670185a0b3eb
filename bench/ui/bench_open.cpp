// Opening a large tokenized program in the main window, on the offscreen platform:
// detokenizing, the temporary text file, reading it, and the full recolour in the
// editor widget.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "editor/ui/EditorWidget.h"
#include "shell/ui/FrmP.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

void BM_OpenTokenizedProgram(benchmark::State& state) {
    const std::string path = (samples::folder() / "sseng__sgsgeo.89p").string();
    if (!std::filesystem::exists(path)) {
        state.SkipWithError(samples::missingMessage());
        return;
    }
    test::ScratchDir scratch;
    ScriptedPrompt prompt;
    FrmP window(Settings(scratch.file("Korvane.INI")), prompt);
    window.runModal = [](QDialog&) {};
    window.temporaryFolder = scratch.path().string();
    window.load("");
    for (auto _ : state) {
        window.openRoutine(true, path);
        state.PauseTiming();
        if (window.document.path != path) state.SkipWithError("the file was not opened");
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.counters["chars"] = static_cast<double>(window.RichTxt1->length());
}
BENCHMARK(BM_OpenTokenizedProgram)->Unit(benchmark::kMillisecond);

}  // namespace
