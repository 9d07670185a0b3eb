// The interface while the link works, on the offscreen platform against the
// simulated calculator: the longest time the window's event loop went without
// turning (a 1 ms timer's ticks) during send and run (F5), the variables window's
// listing of 200 variables and a backup of 50. Every link operation runs on a
// worker thread, so the pauses are the window's own work between two ticks. Run it
// alone on the machine, inside a private /tmp and IPC namespace, as the link tests
// are.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

#include "editor/ui/WritingHelpWidgets.h"
#include "files/ui/LinkTransfer.h"
#include "link/SimulatorProcess.h"
#include "link/ui/FrmVariables.h"
#include "shell/ui/FrmP.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

// The longest gap between two turns of the event loop since start().
class PauseProbe {
public:
    PauseProbe() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    double longestMs() {
        timer_.stop();
        tick();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    void tick() {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

// Turns the event loop until `done`, at most `seconds`; false on time-out.
template <typename Done>
bool waitFor(Done done, int seconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > seconds * 1000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A main window set for the virtual cable, with a calculator holding what
// `arguments` say.
struct Session {
    test::ScratchDir dir;
    test::ScratchDir calculatorDir;
    ScriptedPrompt prompt;
    std::unique_ptr<test::SimulatorProcess> calculator;
    std::unique_ptr<FrmP> window;

    Session(benchmark::State& state, std::vector<std::string> arguments) {
        calculator = std::make_unique<test::SimulatorProcess>(calculatorDir, std::move(arguments));
        if (!calculator->ready()) {
            state.SkipWithError("the simulated calculator did not start");
            return;
        }
        const std::string ini = dir.file("Korvane.INI");
        Settings settings(ini);
        settings.ecrireIni("FirstLoad", "faux");
        settings.ecrireIni("Cable", "tiemu");
        settings.ecrireIni("Calc", "ti89");
        settings.ecrireIni("ScreenDelay", "1");
        window = std::make_unique<FrmP>(Settings(ini), prompt);
        window->runModal = [](QDialog&) {};
        window->temporaryFolder = dir.path().string();
        window->load("");
        window->show();
        QApplication::processEvents();
    }
    bool idle() const { return !window->linkTransfer->busy() && !window->CmdStopLink->isVisible(); }
    void failIfTold(benchmark::State& state) {
        if (!prompt.shown.empty()) state.SkipWithError(prompt.shown.front().text.c_str());
    }
};

void BM_SendRunAndScreen(benchmark::State& state) {
    Session s(state, {});
    if (!s.window) return;
    s.window->setNameField("hi()");
    PauseProbe probe;
    double longest = 0;
    for (auto _ : state) {
        probe.start();
        s.window->envoyerExecuter->trigger();
        const bool ended = waitFor([&s] { return s.idle() && s.window->LblLiaison->text().contains(QStringLiteral("cran")); }, 30);
        longest = std::max(longest, probe.longestMs());
        if (!ended) return state.SkipWithError("send and run did not end");
        s.failIfTold(state);
    }
    state.counters["longest_pause_ms"] = longest;
}
BENCHMARK(BM_SendRunAndScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_VariablesWindowLists200(benchmark::State& state) {
    Session s(state, {"--many", "200"});
    if (!s.window) return;
    FrmVariables& variables = s.window->frmVariables();
    PauseProbe probe;
    double longest = 0;
    for (auto _ : state) {
        variables.setVariables({});
        probe.start();
        variables.refresh();
        const bool ended = waitFor([&variables] { return variables.LstVariables->topLevelItemCount() > 0; }, 30);
        longest = std::max(longest, probe.longestMs());
        if (!ended) return state.SkipWithError("the listing did not come");
    }
    state.counters["longest_pause_ms"] = longest;
}
BENCHMARK(BM_VariablesWindowLists200)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_Backup50(benchmark::State& state) {
    Session s(state, {"--many", "50"});
    if (!s.window) return;
    const std::string path = s.dir.file("backup.89g");
    s.window->askBackupPath = [&path](bool) { return QString::fromStdString(path); };
    PauseProbe probe;
    double longest = 0;
    for (auto _ : state) {
        std::filesystem::remove(path);
        probe.start();
        s.window->sauvegarderCalc->trigger();
        const bool ended = waitFor([&s, &path] { return s.idle() && std::filesystem::exists(path); }, 60);
        longest = std::max(longest, probe.longestMs());
        if (!ended) return state.SkipWithError("the backup did not end");
        s.failIfTold(state);
    }
    state.counters["longest_pause_ms"] = longest;
}
BENCHMARK(BM_Backup50)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
