// Creating the tool windows and one run of the layout routine on a move, on the
// offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "insert/Catalogue.h"
#include "insert/ui/FrmCatalogue.h"
#include "insert/ui/FrmChar.h"
#include "shell/ui/FrmP.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

// The shipped catalogue.dat, found as the program finds it, read and shown.
void BM_CreateCatalogue(benchmark::State& state) {
    const auto candidates = catalogueCandidates(QApplication::applicationDirPath().toStdString());
    std::size_t rows = 0;
    for (auto _ : state) {
        const CatalogueFile file = readCatalogue(candidates);
        if (file.rows.empty()) {
            state.SkipWithError("catalogue.dat was not found beside the build");
            return;
        }
        auto* window = new FrmCatalogue({}, file.rows, nullptr);
        window->show();
        rows = static_cast<std::size_t>(file.rows.size());
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CreateCatalogue)->Unit(benchmark::kMillisecond);

void BM_CreatePalette(benchmark::State& state) {
    for (auto _ : state) {
        auto* window = new FrmChar({}, nullptr);
        window->show();
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreatePalette)->Unit(benchmark::kMillisecond);

// The main window with both tool windows docked: the routine that each move runs.
void BM_LayoutOnMove(benchmark::State& state) {
    test::ScratchDir scratch;
    ScriptedPrompt prompt;
    FrmP window(Settings(scratch.file("Korvane.INI")), prompt);
    window.runModal = [](QDialog&) {};
    window.load("");
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.move(100 + (step++ % 2) * 40, 80);
        QApplication::processEvents();
        state.ResumeTiming();
        window.layoutRoutine();
    }
}
BENCHMARK(BM_LayoutOnMove)->Unit(benchmark::kMicrosecond);

}  // namespace
