// Peak resident memory of a whole Download, measured in a process of its own: the benchmark
// starts this program again in its measuring mode, which runs one start-up check and one
// Download in virtual time and reports what the kernel counted. On the real clock, the same
// for rxt9-update-cli, as GNU time reports it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "bench/BenchModes.h"
#include "bench/MainWindowRun.h"
#include "platform/Kernel.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
// The three images of set 1, which a Download holds twice (loaded and transfer copy).
constexpr double kSetOneImageBytes = 2974598.0 + 6291482.0 + 370828.0;
// Well inside the transfer: the wait after DATA2(T)'s prepare command, when both copies are
// held.
constexpr DWORD kDuringTransferMs = 30000;

void BM_PeakResidentMemoryOfADownload(benchmark::State& state) {
    std::string output;
    for (auto _ : state) {
        const testing_support::ChildResult child =
            testing_support::ChildProcess(win::GetModuleDirectory() + "bench")
                .Arg(kMeasurePeakMemoryOption)
                .Run(120000);
        output = child.output;
        if (child.exitStatus != 0) {
            state.SkipWithError(("the measuring run failed:\n" + output).c_str());
            return;
        }
    }
    std::istringstream lines(output);
    for (std::string name; lines >> name;) {
        double bytes = 0;
        lines >> bytes;
        state.counters[name + "_MiB"] = bytes / kMiB;
    }
    state.counters["goal_MiB"] = (2 * kSetOneImageBytes + 16 * kMiB) / kMiB;
}

BENCHMARK(BM_PeakResidentMemoryOfADownload)->Unit(benchmark::kMillisecond)->Iterations(1);

constexpr const char* kGnuTime = "/usr/bin/time";
constexpr int kCliDownloadTimeoutMs = 180000;

void BM_PeakResidentMemoryOfCliDownload(benchmark::State& state) {
    std::string output;
    for (auto _ : state) {
        testing_support::TemporaryDirectory runtime;
        const testing_support::ChildResult child =
            testing_support::ChildProcess(kGnuTime)
                .Arg("--format=peak_kilobytes %M")
                .Arg(win::GetModuleDirectory() + "rxt9-update-cli")
                .Arg("--download")
                .Arg("--assume-yes")
                .Arg("--json")
                .Env("RXT9_ZELPORT", "")
                .Env("RXT9_SIM_CONFIG", "")
                .Env("RXT9_SIM_STATE", "")
                .Env("RXT9_LOCK_DIR", runtime.Path())
                .WorkingDirectory(runtime.Path())
                .Run(kCliDownloadTimeoutMs);
        output = child.output;
        if (child.exitStatus != 0) {
            state.SkipWithError(("the Download failed:\n" + output).c_str());
            return;
        }
    }
    const size_t report = output.rfind("peak_kilobytes ");
    if (report == std::string::npos) {
        state.SkipWithError("GNU time reported nothing");
        return;
    }
    const double kilobytes = std::stod(output.substr(report + 15));
    state.counters["peak_MiB"] = kilobytes * 1024 / kMiB;
    state.counters["goal_MiB"] = (2 * kSetOneImageBytes + 16 * kMiB) / kMiB;
}

}  // namespace

void RegisterCliDownloadPeakMemory() {
    if (std::filesystem::exists(kGnuTime) &&
        std::filesystem::exists(win::GetModuleDirectory() + "rxt9-update-cli")) {
        benchmark::RegisterBenchmark("BM_PeakResidentMemoryOfCliDownload",
                                     BM_PeakResidentMemoryOfCliDownload)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
}

int MeasurePeakMemoryOfOneDownload() {
    MainWindowRun run(MainWindowRun::ClockKind::Virtual);
    if (!run.Ready()) {
        std::cerr << "no simulated library beside the program\n";
        return 1;
    }
    const testing_support::ProcessMemory before = testing_support::ProcessMemory::Current();
    testing_support::ProcessMemory during;
    run.Run(true, kDuringTransferMs, [&] { during = testing_support::ProcessMemory::Current(); });
    const testing_support::ProcessMemory after = testing_support::ProcessMemory::Current();
    if (!run.Succeeded()) {
        std::cerr << "the Download did not succeed\n";
        return 1;
    }
    std::cout << "peak_before_run " << before.peakResidentBytes << '\n'
              << "resident_before_run " << before.residentBytes << '\n'
              << "resident_in_transfer " << during.residentBytes << '\n'
              << "file_backed_in_transfer " << during.fileBackedBytes << '\n'
              << "anonymous_in_transfer " << during.AnonymousBytes() << '\n'
              << "peak " << after.peakResidentBytes << '\n'
              << "resident_after_run " << after.residentBytes << '\n';
    return 0;
}
