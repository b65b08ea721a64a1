// By hand: build/launcher/launcher_bench
//
// StartToJava: from starting the launcher in an installation to the Java
// runtime's process existing (its javaw.exe here is a script that notes the
// time and then runs java). SplashOpenToClose: from creating the splash
// window to the end of the message loop (headless).
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "launcher/canvas.h"
#include "launcher/messageloop.h"
#include "launcher/splash.h"
#include "testsupport/scratchfolder.h"

namespace {

namespace fs = std::filesystem;

double realtimeNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void StartToJava(benchmark::State& state) {
    const testsupport::ScratchFolder installation("quillory-bench-");
    const fs::path& root = installation.path();
    fs::create_directories(root / "jre" / "bin");
    std::ofstream(root / "Quillory.jar") << "";
    // The script finds its note through the environment, which the launcher
    // hands on: no path is written into it for the shell to read.
    const fs::path script = root / "jre" / "bin" / "javaw.exe";
    std::ofstream(script) << "#!/bin/sh\ndate +%s.%N > \"$QUILL_BENCH_STARTED\"\nexec true\n";
    fs::permissions(script, fs::perms::owner_all);
    setenv("QUILL_BENCH_STARTED", (root / "started").c_str(), 1);
    for (auto _ : state) {
        fs::remove(root / "started");
        const double start = realtimeNow();
        const pid_t launcher = fork();
        if (launcher == 0) {
            if (chdir(root.c_str()) != 0) _exit(120);
            setenv("QUILLORY_REGISTRY", (root / "none.reg").c_str(), 1);
            unsetenv("DISPLAY");
            execl(QUILLORY_PATH, QUILLORY_PATH, static_cast<char*>(nullptr));
            _exit(121);
        }
        double started = 0;
        for (int i = 0; i < 20000 && started == 0; ++i) {
            std::ifstream(root / "started") >> started;
            if (started == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        kill(launcher, SIGTERM);
        waitpid(launcher, nullptr, 0);
        if (started == 0) return state.SkipWithError("javaw.exe never ran");
        state.SetIterationTime(started - start);
    }
}
BENCHMARK(StartToJava)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void SplashOpenToClose(benchmark::State& state) {
    unsetenv("DISPLAY");
    canvasInit();
    registerSplashClass(GetModuleHandleA(nullptr));
    splashScreen.versionText = "3.0";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        splashScreen.create(kSplashBitmapId);
        runMessageLoop(nullptr);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    canvasRelease();
}
BENCHMARK(SplashOpenToClose)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
