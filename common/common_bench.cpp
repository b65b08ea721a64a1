// Costs of the support library on the word model's hot paths and of a log line.
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "testsupport/scratchfolder.h"

namespace {

const std::string kWord = "Stra\xDF" "enb\xE4hn";   // ten letters, code page 1252
const std::wstring kWideWord = L"STRA\u00DFENB\u00C4HN";

void toWideWord(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(toWide(kWord));
}
BENCHMARK(toWideWord);

void toNarrowWord(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(toNarrow(kWideWord, 0));
}
BENCHMARK(toNarrowWord);

void toLowerWWord(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(toLowerW(kWideWord));
}
BENCHMARK(toLowerWWord);

// The benchmarks' log, in a scratch folder that goes when the program ends.
const testsupport::ScratchFolder& benchFolder() {
    static const testsupport::ScratchFolder folder("quill-common-bench-");
    return folder;
}
// Named as the logger takes it.
std::string benchLogFile() { return benchFolder().ansiPath("log.txt"); }

void logPrintToRing(benchmark::State& state) {
    std::string file = benchLogFile();
    logInit(10, file.c_str(), true, false, true, false);
    int i = 0;
    for (auto _ : state) logPrint(1, "countSyllables %03d : %s\n", ++i, "Schule");
    logInit(0, nullptr, false, false, false, false);
    std::filesystem::remove(benchFolder().path("log.txt"));
}
BENCHMARK(logPrintToRing);

void logPrintToFile(benchmark::State& state) {
    std::string file = benchLogFile();
    logInit(10, file.c_str(), false, false, true, false);
    int i = 0;
    for (auto _ : state) logPrint(1, "countSyllables %03d : %s\n", ++i, "Schule");
    logInit(0, nullptr, false, false, false, false);
    std::filesystem::remove(benchFolder().path("log.txt"));
}
BENCHMARK(logPrintToFile);

}  // namespace
