// What the recovery copy costs the interface thread, on the offscreen platform: the
// event-loop turn after a typed key in a 64 KB Document, when the copy's timer
// fires in it (argument 1) and without a recovery copy (argument 0). The turn also
// refreshes the title, which compares the whole text; "max_ms" is the longest turn.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextCursor>
#include <algorithm>
#include <chrono>

#include "editor/ui/EditorWidget.h"
#include "files/RecoveryCopy.h"
#include "shell/ui/FrmP.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

void BM_TurnAfterAKey(benchmark::State& state) {
    test::ScratchDir scratch;
    ScriptedPrompt prompt;
    FrmP window(Settings(scratch.file("Korvane.INI")), prompt);
    window.runModal = [](QDialog&) {};
    if (state.range(0)) window.recoveryFolder = scratch.file("korvane");
    window.setRecoveryDelay(0);
    window.load("");
    std::string text = "\r\nPrgm\r\n";
    for (int line = 0; text.size() < 64 * 1024 - 16; ++line) text += "Disp \"abc\",x+" + std::to_string(line) + "\r\n";
    text += "EndPrgm";
    window.RichTxt1->setPlainText(text);
    QApplication::processEvents();
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor cursor = window.RichTxt1->textCursor();
        cursor.setPosition(20);
        window.RichTxt1->setTextCursor(cursor);
        window.RichTxt1->insertPlainText(QStringLiteral("1"));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        QApplication::processEvents();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    if (state.range(0)) {
        const auto copy = decodeRecoveryCopy(test::ScratchDir::read(window.recoveryCopyPath()));
        if (!copy || copy->text != window.RichTxt1->text()) state.SkipWithError("the copy is behind the editor");
    }
    state.counters["max_ms"] = longest;
    state.counters["chars"] = static_cast<double>(window.RichTxt1->length());
}
BENCHMARK(BM_TurnAfterAKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
