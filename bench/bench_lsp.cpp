// The language server on the largest sample (sseng__sgsgeo.89p, 21 KB) as an editor
// sends it: the diagnostics after a one-character change (full sync: the message
// read, the program's columns, the syntax check and the warnings), a completion,
// and the process's start up to its answer to initialize.
#include <benchmark/benchmark.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "editor/CharTable.h"
#include "files/Detokenizer.h"
#include "lsp/LspFraming.h"
#include "lsp/LspServer.h"

namespace {

using namespace korvane;
using json = nlohmann::json;

const std::string kLargest = std::string(KORVANE_SAMPLES_DIR) + "/sseng__sgsgeo.89p";

// The sample as `korvane-tool text` prints it, empty when it cannot be read.
std::string programText() {
    const DetokenizerAnswer text = Detokenizer().ProgramText(kLargest);
    if (!text.ok()) return {};
    return calcToUtf8(normaliseLineBreaks(text.value));
}

std::string didChange(const std::string& text, int version) {
    json change = {{"textDocument", {{"uri", "file:///sgsgeo.txt"}, {"version", version}}}};
    change["contentChanges"] = json::array({json{{"text", text}}});
    return json{{"jsonrpc", "2.0"}, {"method", "textDocument/didChange"}, {"params", change}}.dump();
}

// A server with the sample open.
LspServer openServer(const std::string& text) {
    LspServer server(MessageLanguage::English);
    server.handle(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})");
    json open = {{"textDocument", {{"uri", "file:///sgsgeo.txt"}, {"languageId", "ti-basic"}, {"version", 1}, {"text", text}}}};
    server.handle(json{{"jsonrpc", "2.0"}, {"method", "textDocument/didOpen"}, {"params", open}}.dump());
    return server;
}

void BM_DiagnosticsAfterOneCharacterChange(benchmark::State& state) {
    const std::string text = programText();
    if (text.empty()) return state.SkipWithError("sample not readable");
    LspServer server = openServer(text);
    // One character typed in the middle, and taken back, in turn.
    std::string changed = text;
    changed.insert(changed.find('\n', changed.size() / 2) , "1");
    const std::string messages[2] = {didChange(changed, 2), didChange(text, 3)};
    int turn = 0;
    std::size_t diagnostics = 0;
    for (auto _ : state) {
        const std::vector<std::string> out = server.handle(messages[turn ^= 1]);
        diagnostics = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["published"] = static_cast<double>(diagnostics);
}
BENCHMARK(BM_DiagnosticsAfterOneCharacterChange)->Unit(benchmark::kMillisecond);

void BM_Completion(benchmark::State& state) {
    const std::string text = programText();
    if (text.empty()) return state.SkipWithError("sample not readable");
    LspServer server = openServer(text);
    // After "s" on the middle line: the program's names and the catalogue's s words.
    const int line = static_cast<int>(std::count(text.begin(), text.begin() + text.size() / 2, '\n'));
    const std::string request =
        json{{"jsonrpc", "2.0"}, {"id", 2}, {"method", "textDocument/completion"},
             {"params", {{"textDocument", {{"uri", "file:///sgsgeo.txt"}}}, {"position", {{"line", line}, {"character", 1}}}}}}
            .dump();
    std::size_t items = 0;
    for (auto _ : state) {
        const std::vector<std::string> out = server.handle(request);
        items = out.empty() ? 0 : json::parse(out.back())["result"]["items"].size();
    }
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_Completion)->Unit(benchmark::kMillisecond);

// korvane-tool beside the benchmarks' folder (build/bench/korvane_bench, build/korvane-tool).
std::string toolPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "korvane-tool").string();
}

void BM_ServerStartToInitializeAnswer(benchmark::State& state) {
    const std::string tool = toolPath();
    if (!std::filesystem::exists(tool)) return state.SkipWithError("korvane-tool not built beside the benchmarks");
    const std::string initialize = writeFrame(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})");
    const std::string bye = writeFrame(R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})") +
                            writeFrame(R"({"jsonrpc":"2.0","method":"exit"})");
    for (auto _ : state) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return state.SkipWithError("no pipe");
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            close(in[0]), close(in[1]), close(out[0]), close(out[1]);
            execl(tool.c_str(), tool.c_str(), "lsp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        bool answered = write(in[1], initialize.data(), initialize.size()) == static_cast<ssize_t>(initialize.size());
        FrameReader reader;
        while (answered && reader.next().status != FrameReader::Status::Message) {
            char buffer[4096];
            pollfd p{out[0], POLLIN, 0};
            const ssize_t n = poll(&p, 1, 10000) > 0 ? read(out[0], buffer, sizeof buffer) : -1;
            if (n <= 0) answered = false;
            else reader.push(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
        state.PauseTiming();
        if (write(in[1], bye.data(), bye.size()) < 0) kill(pid, SIGKILL);
        close(in[1]);
        close(out[0]);
        waitpid(pid, nullptr, 0);
        state.ResumeTiming();
        if (!answered) return state.SkipWithError("no answer to initialize");
    }
}
BENCHMARK(BM_ServerStartToInitializeAnswer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
