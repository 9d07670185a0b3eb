// The full recolouring applied to the editor widget, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "editor/Colouring.h"
#include "editor/TypingColour.h"
#include "insert/Insertion.h"
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

// One line recoloured after a trigger key, in the widget.
void BM_ColoriserLigneInWidget(benchmark::State& state) {
    EditorWidget editor;
    editor.resize(600, 400);
    editor.show();
    editor.setPlainText(programs::largeProgram(64 * 1024, true));
    const std::string text = editor.text();
    editor.setCaret(static_cast<int>(text.find("\r\n", text.size() / 2)) - 2);
    for (auto _ : state) coloriserLigne(editor, TypingColours{}, vk::Space);
}
BENCHMARK(BM_ColoriserLigneInWidget)->Unit(benchmark::kMicrosecond);

// A command inserted at the caret: the splice and the full recolour in the widget.
void BM_AjoutTextInWidget(benchmark::State& state) {
    EditorWidget editor;
    editor.resize(600, 400);
    editor.show();
    const std::string text = programs::largeProgram(64 * 1024);
    int posCurseur = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.setPlainText(text);
        editor.setCaret(static_cast<int>(text.find("\r\n", text.size() / 2)) + 2);
        QApplication::processEvents();
        state.ResumeTiming();
        EditorContext context{editor, posCurseur, "10"};
        ajoutText(context, "For \r\n\r\nEndFor", 4);
    }
}
BENCHMARK(BM_AjoutTextInWidget)->Unit(benchmark::kMillisecond);

// One typed character in the middle of a 64 KB program: the widget's own bookkeeping
// of the change (colours and the text seen) without any recolouring.
void BM_TypedCharacterInWidget(benchmark::State& state) {
    EditorWidget editor;
    editor.resize(600, 400);
    editor.show();
    editor.setPlainText(programs::largeProgram(64 * 1024));
    const int middle = editor.length() / 2;
    for (auto _ : state) {
        editor.replaceRange(middle, 0, "x");
        editor.replaceRange(middle, 1, "");
    }
}
BENCHMARK(BM_TypedCharacterInWidget)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
