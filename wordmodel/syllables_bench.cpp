// What one word costs the word entry points: a fresh German record, its
// syllables or its rating.
#include <benchmark/benchmark.h>

#include "wordmodel/library.h"
#include "wordmodel/word.h"

namespace {

const std::wstring words[] = {L"Schule", L"Straße", L"Wasser", L"Tomatensalat", L"fahren",
                              L"Häuser", L"Eier",   L"Haus",   L"Bananenplantage"};

void setUp() { initWordLibrary(1, L"", L""); }

void countSyllables(benchmark::State& state) {
    setUp();
    std::size_t next = 0;
    for (auto _ : state) {
        LX_Word word(languageGerman, languageEnglish);
        word.setWord(languageGerman, words[next++ % std::size(words)]);
        benchmark::DoNotOptimize(word.countSyllables());
    }
}
BENCHMARK(countSyllables);

void calcDifficulty(benchmark::State& state) {
    setUp();
    std::size_t next = 0;
    for (auto _ : state) {
        LX_Word word(languageGerman, languageEnglish);
        word.setWord(languageGerman, words[next++ % std::size(words)]);
        word.calcDifficulty();
        benchmark::DoNotOptimize(word.getDifficulty());
    }
}
BENCHMARK(calcDifficulty);

void emptyRecord(benchmark::State& state) {
    for (auto _ : state) {
        LX_Word word(languageGerman, languageEnglish);
        benchmark::DoNotOptimize(word.getLanguage());
    }
}
BENCHMARK(emptyRecord);

}  // namespace
