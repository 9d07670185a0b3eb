// The recovery copy of a 64 KB Document: building its bytes, the whole atomic
// write into its folder (the part the main window runs after a pause in the
// typing), and reading it back at the next start.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "files/RecoveryCopy.h"
#include "support/ScratchDir.h"

namespace {

using namespace korvane;

// A program of 64 KB, with every calculator code in its strings.
RecoveryCopy largeCopy() {
    RecoveryCopy copy;
    copy.text = "\r\nPrgm\r\n";
    for (int line = 0; copy.text.size() < 64 * 1024 - 16; ++line)
        copy.text += "Disp \"" + std::string(1, static_cast<char>(32 + line % 220)) + "abc\",x+" +
                     std::to_string(line) + "\r\n";
    copy.text += "EndPrgm";
    copy.name = "grand()";
    copy.folder = "main";
    copy.path = "/home/user/grand.89p";
    copy.variableHeader = newDocumentHeader();
    copy.variableTrailer = programTrailer();
    copy.saved = {copy.text.substr(0, copy.text.size() - 40) + "\r\nEndPrgm", "grand()", "main"};
    return copy;
}

void BM_RecoveryEncode(benchmark::State& state) {
    const RecoveryCopy copy = largeCopy();
    for (auto _ : state) benchmark::DoNotOptimize(encodeRecoveryCopy(copy));
    state.counters["bytes"] = static_cast<double>(encodeRecoveryCopy(copy).size());
}
BENCHMARK(BM_RecoveryEncode)->Unit(benchmark::kMicrosecond);

void BM_RecoveryWrite(benchmark::State& state) {
    test::ScratchDir scratch;
    RecoveryStore store(scratch.file("korvane"));
    const RecoveryCopy copy = largeCopy();
    for (auto _ : state)
        if (!store.write(copy).empty()) state.SkipWithError("the copy was not written");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(store.copyPath()));
    store.close();
}
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMicrosecond);

void BM_RecoveryDecode(benchmark::State& state) {
    const Bytes bytes = encodeRecoveryCopy(largeCopy());
    for (auto _ : state)
        if (!decodeRecoveryCopy(bytes)) state.SkipWithError("the copy was not read");
}
BENCHMARK(BM_RecoveryDecode)->Unit(benchmark::kMicrosecond);

}  // namespace
