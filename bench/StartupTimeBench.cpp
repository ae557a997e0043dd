// Time from the start of a program to its main window shown, for the programs built beside
// the benchmark. rxt9-update on Qt's offscreen platform reports the moment its first window
// comes on screen. rxt9-update-cli reports no moment; it is timed to its exit with a library
// that has no printer, which shows the main window, fails the start-up check at once and ends:
// a bound from above. The clock runs from just before the program is started.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "bench/BenchModes.h"
#include "platform/Kernel.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

// The program keeps its window open after the start-up check; it is stopped after this long.
constexpr int kProgramLifetimeMs = 1000;
constexpr const char* kShownReport = "first window on screen";

std::string Beside(const std::string& name) {
    return win::GetModuleDirectory() + name;
}

double SecondsSinceEpoch(std::chrono::system_clock::time_point when) {
    return std::chrono::duration<double>(when.time_since_epoch()).count();
}

void BM_StartToMainWindowQtOffscreen(benchmark::State& state) {
    double totalMs = 0;
    double selfReportedMs = 0;
    for (auto _ : state) {
        testing_support::TemporaryDirectory runtime;
        testing_support::ChildProcess program(Beside("rxt9-update"));
        program.Env("QT_QPA_PLATFORM", "offscreen")
            .Env("RXT9_REPORT_SHOWN", "1")
            .Env("RXT9_LOCK_DIR", runtime.Path())
            .Env("RXT9_SIM_STATE", "")
            .WorkingDirectory(runtime.Path());
        const double started = SecondsSinceEpoch(std::chrono::system_clock::now());
        program.Start();
        const testing_support::ChildResult result = program.Wait(kProgramLifetimeMs);
        // "... first window on screen 87 ms after the start, at 1700000000.123456"
        const size_t report = result.output.find(kShownReport);
        const size_t at = result.output.find(", at ", report);
        if (report == std::string::npos || at == std::string::npos) {
            state.SkipWithError(("no window was reported:\n" + result.output).c_str());
            return;
        }
        totalMs += (std::stod(result.output.substr(at + 5)) - started) * 1000.0;
        selfReportedMs +=
            std::stod(result.output.substr(report + std::string(kShownReport).size()));
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["to_window_ms"] = totalMs / iterations;
    state.counters["self_reported_ms"] = selfReportedMs / iterations;
    state.counters["goal_ms"] = 200;
}

void BM_StartToExitCliWithoutPrinter(benchmark::State& state) {
    double totalMs = 0;
    for (auto _ : state) {
        testing_support::TemporaryDirectory runtime;
        testing_support::ChildProcess program(Beside("rxt9-update-cli"));
        program.Arg("--json")
            .Arg("--assume-yes")
            .Env("RXT9_ZELPORT", Beside("zelport-none/ZELPORT.so"))
            .Env("RXT9_LOCK_DIR", runtime.Path())
            .WorkingDirectory(runtime.Path());
        const auto started = std::chrono::steady_clock::now();
        const testing_support::ChildResult result = program.Run(kProgramLifetimeMs);
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        if (result.output.find("\"event\":\"window\"") == std::string::npos) {
            state.SkipWithError(("the main window was not shown:\n" + result.output).c_str());
            return;
        }
    }
    state.counters["to_exit_ms"] = totalMs / static_cast<double>(state.iterations());
    state.counters["goal_ms"] = 200;
}

}  // namespace

void RegisterStartupTimes() {
    if (std::filesystem::exists(Beside("rxt9-update"))) {
        benchmark::RegisterBenchmark("BM_StartToMainWindowQtOffscreen",
                                     BM_StartToMainWindowQtOffscreen)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    if (std::filesystem::exists(Beside("rxt9-update-cli"))) {
        benchmark::RegisterBenchmark("BM_StartToExitCliWithoutPrinter",
                                     BM_StartToExitCliWithoutPrinter)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
}
