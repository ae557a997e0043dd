// The tool on the real clock: the processor share of its waits, and the wall time of the
// start-up check and of a whole Download against the sum of the printer's waits.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include "app/MessageCatalogue.h"
#include "app/ProgressDlg.h"
#include "app/UpdateDlg.h"
#include "bench/BenchModes.h"
#include "bench/MainWindowRun.h"
#include "platform/Clock.h"
#include "platform/Kernel.h"
#include "platform/model/ModelBackend.h"
#include "platform/ui/UiBackend.h"

namespace {

constexpr DWORD kWaitMs = 10000;
constexpr DWORD kSliceMs = 100;

// The waits of the start-up check: the state query's two 50 ms pauses and the 1000 ms wait
// between version inquiry and reply.
constexpr double kStartupCheckFloorMs = 2 * 50 + 1000;

// The waits of a Download of set 1 from the press of the button, when the transfers
// themselves cost nothing:
//   state query, two pauses of 50                                        100
//   download mode: 15 s in 300 slices of 50                            15000
//   close, pause, re-open                                                100
//   version check: 1 s in 10 slices of 100                              1000
//   bar at 100 before its window closes                                  500
//   DATA1(M): prepare pause 100, 8 s in slices of 100, start pause 100   8200
//   DATA2(T): 100 + 10000 + 100                                        10200
//   DATA4(M): 100 + 3000 + 100                                          3200
//   verification: 1 s in 10 slices of 100                               1000
//   restart: 18 s in 180 slices of 100                                 18000
//   bar at 100 before its window closes                                  500
constexpr double kDownloadFloorMs =
    100 + 15000 + 100 + 1000 + 500 + 8200 + 10200 + 3200 + 1000 + 18000 + 500;

double ProcessCpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// A wait of the main window on the real clock with the model backend, which has no input to
// deliver: the processor time that the wait's own passes cost.
template <typename Wait>
void MeasureWaitShare(benchmark::State& state, Wait wait) {
    win::ModelBackend model;
    win::SetClock(nullptr);
    win::SetUiBackend(&model);
    CUpdateDlg dialog;
    double cpuSeconds = 0;
    double wallSeconds = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto started = std::chrono::steady_clock::now();
        wait(dialog);
        wallSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        cpuSeconds += ProcessCpuSeconds() - cpuBefore;
    }
    state.counters["cpu_share_percent"] = 100.0 * cpuSeconds / wallSeconds;
    state.counters["wall_s"] = wallSeconds / static_cast<double>(state.iterations());
    win::SetUiBackend(nullptr);
}

void BM_WaitInSlices10sOnRealClock(benchmark::State& state) {
    MeasureWaitShare(state,
                     [](CUpdateDlg& dialog) { dialog.WaitInSlices(kWaitMs, nullptr, kSliceMs); });
}

void BM_WaitWithProgress10sOnRealClock(benchmark::State& state) {
    MeasureWaitShare(state, [](CUpdateDlg& dialog) {
        CProgressDlg progress(IDS_UPGRADE);
        progress.Create();
        progress.SetRange(0, 100);
        progress.SetPos(0);
        progress.SetTimeBase(win::GetTickCount(), kWaitMs);
        dialog.WaitWithProgress(kWaitMs, &progress, kSliceMs);
    });
}

// One main window per iteration on the real clock. `measure` runs it and gives the run's wall
// time in milliseconds, setting `failure` for a run that went wrong; the result is
// the mean against the sum of the waits the run cannot go below.
template <typename Measure>
void MeasureAgainstFloor(benchmark::State& state, double floorMs, Measure measure) {
    double wallMs = 0;
    for (auto _ : state) {
        MainWindowRun run(MainWindowRun::ClockKind::Real);
        if (!run.Ready()) {
            state.SkipWithError("no simulated library");
            return;
        }
        const char* failure = nullptr;
        wallMs += measure(run, failure);
        if (failure != nullptr) {
            state.SkipWithError(failure);
            return;
        }
    }
    const double perRun = wallMs / static_cast<double>(state.iterations());
    state.counters["wall_ms"] = perRun;
    state.counters["floor_ms"] = floorMs;
    state.counters["over_floor_percent"] = 100.0 * (perRun - floorMs) / floorMs;
}

void BM_StartupCheckOnRealClock(benchmark::State& state) {
    MeasureAgainstFloor(state, kStartupCheckFloorMs, [](MainWindowRun& run, const char*& failure) {
        const auto started = std::chrono::steady_clock::now();
        run.Run(false);
        if (!run.Boxes().empty()) {
            failure = "the start-up check failed";
        }
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    });
}

void BM_DownloadSetOneOnRealClock(benchmark::State& state) {
    MeasureAgainstFloor(state, kDownloadFloorMs, [](MainWindowRun& run, const char*& failure) {
        run.Run(true);
        if (!run.Succeeded()) {
            failure = "the Download did not succeed";
            return 0.0;
        }
        // The success box comes at the very end of the run.
        return static_cast<double>(run.Boxes().back().time - run.PressTick());
    });
}

}  // namespace

void RegisterRealClockWaits() {
    benchmark::RegisterBenchmark("BM_WaitInSlices10sOnRealClock", BM_WaitInSlices10sOnRealClock)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_WaitWithProgress10sOnRealClock",
                                 BM_WaitWithProgress10sOnRealClock)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_StartupCheckOnRealClock", BM_StartupCheckOnRealClock)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseRealTime();
}

void RegisterRealClockDownload() {
    benchmark::RegisterBenchmark("BM_DownloadSetOneOnRealClock", BM_DownloadSetOneOnRealClock)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseRealTime();
}
