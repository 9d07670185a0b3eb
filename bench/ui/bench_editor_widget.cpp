// The full recolouring applied to the editor widget, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "editor/Colouring.h"
#include "editor/ui/EditorWidget.h"
#include "support/SamplePrograms.h"

namespace {

using namespace korvane;

// Arg 0: the program in canonical case (colours only); arg 1: in lower case
// (thousands of keyword rewrites applied in one edit).
void BM_ColorierToutInWidget(benchmark::State& state) {
    const std::string text = programs::largeProgram(64 * 1024, state.range(0) != 0);
    EditorWidget editor;
    editor.resize(600, 400);
    editor.show();
    for (auto _ : state) {
        state.PauseTiming();
        editor.setPlainText(text);
        editor.setCaret(100);
        QApplication::processEvents();
        state.ResumeTiming();
        int pos = 0;
        colorierTout(editor, pos, "10");
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ColorierToutInWidget)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
