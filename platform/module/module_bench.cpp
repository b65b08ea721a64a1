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

namespace {

constexpr int kRecordings = 20;
constexpr std::size_t kRecordingSize = 1 << 20;

// A library of 20 resources of 1 MB, made once by resdll in a scratch folder.
const std::string& library() {
    static const std::string path = [] {
        auto folder = std::filesystem::temp_directory_path() / "quill-module-bench";
        std::filesystem::create_directories(folder);
        std::mt19937 random(7);
        std::string command = std::string("\"") + RESDLL_PATH + "\" -o " +
                              (folder / "big.dll").string();
        for (int i = 0; i < kRecordings; ++i) {
            auto file = folder / ("r" + std::to_string(i) + ".mp3");
            std::vector<char> bytes(kRecordingSize);
            for (char& byte : bytes) byte = static_cast<char>(random());
            std::ofstream(file, std::ios::binary).write(bytes.data(), bytes.size());
            command += " MP3:" + std::to_string(1000 + i) + "=" + file.string();
        }
        if (std::system(command.c_str()) != 0) std::abort();
        return (folder / "big.dll").string();
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
