// The help while writing in the main window, on the largest sample (sseng__sgsgeo.89p,
// 21 KB) and the offscreen platform: the status bar's work after a keystroke and the
// live syntax check that runs when the typing pauses.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/WritingHelpWidgets.h"
#include "shell/ui/FrmP.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

// The main window with the largest sample open; null (and the benchmark skipped)
// without the samples.
struct OpenSample {
    test::ScratchDir scratch;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> window;

    explicit OpenSample(benchmark::State& state) {
        const std::string path = (samples::folder() / "sseng__sgsgeo.89p").string();
        if (!std::filesystem::exists(path)) {
            state.SkipWithError(samples::missingMessage());
            return;
        }
        window = std::make_unique<FrmP>(Settings(scratch.file("Korvane.INI")), prompt);
        window->runModal = [](QDialog&) {};
        window->temporaryFolder = scratch.path().string();
        window->load("");
        window->openRoutine(true, path);
        QApplication::processEvents();
        if (window->document.path != path) {
            state.SkipWithError("the sample was not opened");
            window.reset();
        }
    }
    // Model position of the first occurrence of `word` at the start of a statement.
    int find(const std::string& word) const {
        const std::string text = window->RichTxt1->text();
        const size_t at = text.find(word, text.size() / 2);
        return static_cast<int>(at == std::string::npos ? text.find(word) : at);
    }
};

// The caret moved by a key between a command ("For") and a name (the status bar's
// position and syntax labels both change each time), with everything the caret's
// move runs, the status update included.
void BM_StatusBarPerKeystroke(benchmark::State& state) {
    OpenSample open(state);
    if (!open.window) return;
    EditorWidget& editor = *open.window->RichTxt1;
    const int onFor = open.find("For ") + 2;
    const int elsewhere = onFor + 6;
    bool flip = false;
    for (auto _ : state) {
        editor.setCaret((flip = !flip) ? onFor : elsewhere);
        benchmark::DoNotOptimize(open.window->LblSyntaxe->text().size());
    }
    state.counters["chars"] = static_cast<double>(editor.length());
}
BENCHMARK(BM_StatusBarPerKeystroke)->Unit(benchmark::kMicrosecond);

// The status bar's update alone, as the caret's move calls it.
void BM_StatusBarUpdate(benchmark::State& state) {
    OpenSample open(state);
    if (!open.window) return;
    open.window->RichTxt1->setCaret(open.find("For ") + 2);
    for (auto _ : state) open.window->refreshStatus();
}
BENCHMARK(BM_StatusBarUpdate)->Unit(benchmark::kMicrosecond);

// A whole typed key and its Backspace, as the desktop sends them: the editor's own
// work, the digraph rule, the line's recolouring and the status bar.
void BM_TypedKeyWithStatus(benchmark::State& state) {
    OpenSample open(state);
    if (!open.window) return;
    EditorWidget& editor = *open.window->RichTxt1;
    editor.setCaret(open.find("For ") + 3);
    for (auto _ : state) {
        for (const auto& [key, text] : {std::pair{Qt::Key_X, QStringLiteral("x")}, std::pair{Qt::Key_Backspace, QString()}}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QApplication::sendEvent(&editor, &press);
            QApplication::sendEvent(&editor, &release);
        }
    }
    state.counters["keys"] = benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TypedKeyWithStatus)->Unit(benchmark::kMicrosecond);

// The live check once the typing pauses: the whole Document tokenized as the Edit
// menu's check does it, then the mark and the status bar's message. Arg 0: the
// sample as it is (no error); arg 1: an error typed in its middle (a line marked).
void BM_LiveCheck(benchmark::State& state) {
    OpenSample open(state);
    if (!open.window) return;
    EditorWidget& editor = *open.window->RichTxt1;
    if (state.range(0) != 0) editor.replaceRange(open.find("For "), 0, ")");
    for (auto _ : state) open.window->runLiveCheck();
    if ((editor.errorMarkLine() != 0) != (state.range(0) != 0)) state.SkipWithError("unexpected check result");
    state.counters["line"] = editor.errorMarkLine();
}
BENCHMARK(BM_LiveCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
