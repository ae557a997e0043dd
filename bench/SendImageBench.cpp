// SendImage of the DATA2(T) image into a pipe of the simulated library: once to a printer that
// only takes the bytes (an area that was not prepared discards its data) and once to a printer
// that decodes every record into the area's memory. The rates from processor time are the
// tool's side alone; the wall rates include the printer's thread taking every block.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "app/UpdateDlg.h"
#include "bench/AllocationCounter.h"
#include "bench/UsbLimit.h"
#include "platform/Kernel.h"
#include "platform/VirtualClock.h"
#include "platform/model/ModelBackend.h"
#include "platform/ui/UiBackend.h"
#include "tests/harness/SimulatedLibrary.h"

namespace {

constexpr DWORD kData2TimeLimitMs = 180000;

void SendImageToPrinter(benchmark::State& state, bool decode) {
    win::VirtualClock clock;
    win::ModelBackend model(&clock);
    win::SetClock(&clock);
    win::SetUiBackend(&model);
    SimulatedLibrary library(clock);
    CUpdateDlg dialog;
    std::unique_ptr<BYTE[]> image;
    DWORD size = 0;
    CUsbPort port;
    port.SetDeviceIds("2E91", "5D36");
    if (!library.Loaded() || !library.Reset("") || !dialog.LoadImage(DATA2_T, image, size) ||
        !port.Open() || !port.SendDownloadMode()) {
        state.SkipWithError("no simulated printer in download mode");
        win::SetUiBackend(nullptr);
        win::SetClock(nullptr);
        return;
    }

    std::chrono::steady_clock::duration wall{};
    size_t allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const BOOL commands =
            (!decode || port.SendPrepareArea(kAreaData2)) && port.SendStartWrite(kAreaData2);
        library.Settle();
        state.ResumeTiming();

        const auto started = std::chrono::steady_clock::now();
        const size_t allocationsBefore = AllocationCounter::OfThisThread().allocations;
        DWORD transferError = 0;
        const BOOL sent =
            dialog.SendImage(port, image.get(), size, kData2TimeLimitMs, nullptr, &transferError);
        allocations += AllocationCounter::OfThisThread().allocations - allocationsBefore;
        library.Settle();  // the printer has taken every block
        wall += std::chrono::steady_clock::now() - started;
        if (!commands || !sent) {
            state.SkipWithError("the image was not sent");
            break;
        }
    }

    const std::string log = library.ReceivedLog();
    const char* expected = decode ? "bytes in 1537 transfers, complete"
                                  : "bytes in 1537 transfers, discarded, area not prepared";
    if (log.find(expected) == std::string::npos) {
        state.SkipWithError(("the printer did not take the image as expected:\n" + log).c_str());
    }

    const double bytes = static_cast<double>(size) * static_cast<double>(state.iterations());
    const double wallSeconds = std::chrono::duration<double>(wall).count();
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    // Rates over the benchmark's processor time: the tool's thread only.
    state.counters["tool_MB_per_cpu_s"] =
        benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
    state.counters["tool_x_usb"] =
        benchmark::Counter(bytes / kUsbLimitBytesPerSecond, benchmark::Counter::kIsRate);
    // Rates over the wall time until the printer had taken the image.
    state.counters["wall_MB_per_s"] = bytes / 1e6 / wallSeconds;
    state.counters["wall_x_usb"] = bytes / kUsbLimitBytesPerSecond / wallSeconds;
    state.counters["allocations_per_image"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());

    port.Close();
    win::SetUiBackend(nullptr);
    win::SetClock(nullptr);
}

void BM_SendImageData2ToConsumingPrinter(benchmark::State& state) {
    SendImageToPrinter(state, false);
}
void BM_SendImageData2ToDecodingPrinter(benchmark::State& state) {
    SendImageToPrinter(state, true);
}

BENCHMARK(BM_SendImageData2ToConsumingPrinter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendImageData2ToDecodingPrinter)->Unit(benchmark::kMillisecond);

}  // namespace
