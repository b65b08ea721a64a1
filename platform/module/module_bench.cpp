// Loading a 20 MB recording library: the load alone, and the load with every
// resource read once. Run by hand: build/platform/module/module_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "testsupport/programs.h"
#include "testsupport/scratchfolder.h"

namespace {

constexpr int kRecordings = 20;
constexpr std::size_t kRecordingSize = 1 << 20;

// A library of 20 resources of 1 MB, made once by resdll in a scratch folder
// that goes when the program ends; named as LoadLibraryA takes it.
const std::string& library() {
    static const testsupport::ScratchFolder folder("quill-module-bench-");
    static const std::string path = [] {
        std::mt19937 random(7);
        std::vector<std::string> command = {RESDLL_PATH, "-o", folder.path("big.dll")};
        for (int i = 0; i < kRecordings; ++i) {
            const std::string file = folder.path("r" + std::to_string(i) + ".mp3");
            std::vector<char> bytes(kRecordingSize);
            for (char& byte : bytes) byte = static_cast<char>(random());
            std::ofstream(file, std::ios::binary).write(bytes.data(), bytes.size());
            command.push_back("MP3:" + std::to_string(1000 + i) + "=" + file);
        }
        if (testsupport::runProgram(command) != 0) std::abort();
        return folder.ansiPath("big.dll");
    }();
    return path;
}

void loadOnly(benchmark::State& state) {
    for (auto _ : state) {
        HMODULE module = LoadLibraryA(library().c_str());
        if (module == nullptr) state.SkipWithError("the library did not load");
        FreeLibrary(module);
    }
}
BENCHMARK(loadOnly)->Unit(benchmark::kMillisecond);

void loadAndReadEveryRecording(benchmark::State& state) {
    for (auto _ : state) {
        HMODULE module = LoadLibraryA(library().c_str());
        unsigned sum = 0;
        for (int i = 0; i < kRecordings; ++i) {
            HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1000 + i), "MP3");
            auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
            DWORD size = SizeofResource(module, found);
            for (DWORD at = 0; at < size; at += 4096) sum += bytes[at];
        }
        benchmark::DoNotOptimize(sum);
        FreeLibrary(module);
    }
}
BENCHMARK(loadAndReadEveryRecording)->Unit(benchmark::kMillisecond);

}  // namespace
