// Opening one member of the largest group file of the shared folders
// (loretoparisi__CST121.89G, 64 KB, 50 entries): reading the file and its table,
// then the open routine's road for cst\bodex, its largest program (detokenized,
// through the temporary text file and read back).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "files/FileFlows.h"
#include "files/VariableTable.h"

namespace {

const std::string kLargestGroup =
    (std::filesystem::path(KORVANE_SAMPLES_DIR).parent_path() / "ti68k-more" / "loretoparisi__CST121.89G").string();

void BM_ReadLargestGroupTable(benchmark::State& state) {
    korvane::Bytes file;
    if (!korvane::readCalculatorFile(kLargestGroup, file).empty()) {
        state.SkipWithError("the group file is absent");
        return;
    }
    for (auto _ : state) {
        korvane::VariableTable table = korvane::readVariableTable(file);
        benchmark::DoNotOptimize(table.variables.data());
    }
}
BENCHMARK(BM_ReadLargestGroupTable)->Unit(benchmark::kMicrosecond);

void BM_OpenLargestGroupMember(benchmark::State& state) {
    const korvane::Detokenizer detokenizer;
    const std::string temp = korvane::systemTemporaryFolder();
    for (auto _ : state) {
        korvane::Bytes file;
        if (!korvane::readCalculatorFile(kLargestGroup, file).empty()) {
            state.SkipWithError("the group file is absent");
            return;
        }
        const korvane::ProgramListing listing = korvane::listPrograms(file);
        korvane::OpenedFile opened = korvane::openProgramData(listing.table, detokenizer, temp, "cst\\bodex");
        if (!opened.ok()) {
            state.SkipWithError(("not opened: " + opened.reason).c_str());
            return;
        }
        benchmark::DoNotOptimize(opened.content.programText.data());
    }
}
BENCHMARK(BM_OpenLargestGroupMember)->Unit(benchmark::kMillisecond);

}  // namespace
