// The main window's status bar during a transfer, on the offscreen platform: the
// cost of one progress report (the progress bar and the "Envoi de ... %" label),
// and the same with the repaint it causes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProgressBar>
#include <QStatusBar>

#include "editor/ui/WritingHelpWidgets.h"
#include "files/ui/LinkTransfer.h"
#include "shell/Languages.h"
#include "shell/ui/FrmP.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

// The main window as a send leaves it while its data go: the caption with its
// percentage still to come.
struct Sending {
    test::ScratchDir scratch;
    ScriptedPrompt prompt;
    std::unique_ptr<FrmP> window;

    Sending() {
        window = std::make_unique<FrmP>(Settings(scratch.file("Korvane.INI")), prompt);
        window->runModal = [](QDialog&) {};
        window->load("");
        window->PrgsBar->setRange(0, 1000);
        window->linkTransfer->caption =
            QString::fromStdString(languageText("FrmP", "linkSending", 0, "Fr")).arg(QStringLiteral("main\\quad"));
        QApplication::processEvents();
    }
};

// One progress report as the window's thread receives it: every call a new
// percentage, so that both the bar and the label change.
void BM_ProgressReport(benchmark::State& state) {
    Sending s;
    int step = 0;
    for (auto _ : state) {
        emit s.window->linkTransfer->progress((step = (step + 1) % 100) / 100.0);
        benchmark::DoNotOptimize(s.window->LblLiaison->text().size());
    }
}
BENCHMARK(BM_ProgressReport)->Unit(benchmark::kMicrosecond);

// The same, with the repaint of the bar and the label that follows it.
void BM_ProgressReportPainted(benchmark::State& state) {
    Sending s;
    int step = 0;
    for (auto _ : state) {
        emit s.window->linkTransfer->progress((step = (step + 1) % 100) / 100.0);
        s.window->PrgsBar->repaint();
        s.window->statusBar()->repaint();
    }
}
BENCHMARK(BM_ProgressReportPainted)->Unit(benchmark::kMicrosecond);

}  // namespace
