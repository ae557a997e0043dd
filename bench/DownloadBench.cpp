// A whole set-1 Download in virtual time, start-up check included: the processor time of the
// tool's thread, the process's processor time (the simulated printer's thread decoding the
// images in it), what the tool's thread allocates and how many image bytes reach the printer.
// The simulated printer's decoding of the same images is measured apart, without any link.
#include <benchmark/benchmark.h>

#include <array>
#include <ctime>
#include <memory>
#include <span>
#include <vector>

#include "app/UpdateDlg.h"
#include "bench/AllocationCounter.h"
#include "bench/MainWindowRun.h"
#include "printer/PrinterProtocol.h"
#include "sim/AreaLayout.h"
#include "sim/PrinterConfig.h"
#include "sim/SimulatedPrinter.h"

namespace {

double ProcessCpuMilliseconds() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void BM_DownloadSetOneInVirtualTime(benchmark::State& state) {
    double processCpuMs = 0;
    size_t allocatedBytes = 0;
    size_t allocations = 0;
    uint64_t imageBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto run = std::make_unique<MainWindowRun>(MainWindowRun::ClockKind::Virtual);
        if (!run->Ready()) {
            state.SkipWithError("no simulated library");
            break;
        }
        const AllocationCounter::Counts before = AllocationCounter::OfThisThread();
        const double cpuBefore = ProcessCpuMilliseconds();
        state.ResumeTiming();

        run->Run(true);

        state.PauseTiming();
        processCpuMs += ProcessCpuMilliseconds() - cpuBefore;
        const AllocationCounter::Counts after = AllocationCounter::OfThisThread();
        allocatedBytes += after.bytes - before.bytes;
        allocations += after.allocations - before.allocations;
        imageBytes = run->ImageBytesReceived();
        if (!run->Succeeded()) {
            state.SkipWithError("the Download did not succeed");
            break;
        }
        run.reset();
        state.ResumeTiming();
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["process_cpu_ms"] = processCpuMs / iterations;
    state.counters["tool_allocated_MB"] = static_cast<double>(allocatedBytes) / 1e6 / iterations;
    state.counters["tool_allocations"] = static_cast<double>(allocations) / iterations;
    state.counters["image_bytes_sent_MB"] = static_cast<double>(imageBytes) / 1e6;
}

BENCHMARK(BM_DownloadSetOneInVirtualTime)->Unit(benchmark::kMillisecond);

// The writes of one item as SendImage makes them: 4096-byte blocks and the zero-padded tail.
std::vector<std::vector<uint8_t>> Blocks(const BYTE* image, DWORD size) {
    std::vector<std::vector<uint8_t>> blocks;
    for (DWORD offset = 0; offset < size; offset += 4096) {
        const DWORD left = size - offset;
        const DWORD length = left >= 4096 ? 4096 : left / 64 * 64 + 64;
        std::vector<uint8_t> block(length, 0);
        std::copy(image + offset, image + offset + std::min<DWORD>(left, 4096), block.begin());
        blocks.push_back(std::move(block));
    }
    return blocks;
}

void BM_PrinterDecodesSetOne(benchmark::State& state) {
    struct Item {
        int slot;
        uint8_t letter;
        std::vector<std::vector<uint8_t>> blocks;
    };
    std::vector<Item> items = {{DATA1_M, 'p', {}}, {DATA2_T, 't', {}}, {DATA4_M, 's', {}}};
    CUpdateDlg loader;
    uint64_t bytesPerRun = 0;
    for (Item& item : items) {
        std::unique_ptr<BYTE[]> image;
        DWORD size = 0;
        if (!loader.LoadImage(item.slot, image, size)) {
            state.SkipWithError("the images are not in the program");
            return;
        }
        item.blocks = Blocks(image.get(), size);
        bytesPerRun += size;
    }
    const std::array<uint8_t, 8> downloadMode = {0x1B, 0x66, 0x67, 0x6A, 0x70, 0x64, 0x6C, 0x00};
    bool reportsNewVersions = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto printer = std::make_unique<sim::SimulatedPrinter>(sim::PrinterConfig());
        printer->OnHostWrite(downloadMode, 0);
        state.ResumeTiming();
        for (const Item& item : items) {
            const std::array<uint8_t, 4> prepare = {0x1B, 0x66, 0x65, item.letter};
            std::array<uint8_t, 512> startWrite{0x1B, 0x66, 0x73, item.letter};
            printer->OnHostWrite(prepare, 0);
            printer->OnHostWrite(startWrite, 0);
            for (const std::vector<uint8_t>& block : item.blocks) {
                printer->OnHostWrite(block, 0);
            }
        }
        const std::array<uint8_t, 4> restart = {0x1B, 0x66, 0x72, 0x00};
        printer->OnHostWrite(restart, 0);
        state.PauseTiming();
        // DATA1(M) and DATA4(M) report other checksums before the download.
        const sim::PrinterDevice& device = printer->Device();
        reportsNewVersions = reportsNewVersions &&
                             device.Reported(*sim::AreaLayout::ByLetter('p')).checksum == 0x3AC3 &&
                             device.Reported(*sim::AreaLayout::ByLetter('s')).checksum == 0xA789;
        printer.reset();
        state.ResumeTiming();
    }
    if (!reportsNewVersions) {
        state.SkipWithError("the printer did not load the images");
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytesPerRun) * state.iterations());
}

BENCHMARK(BM_PrinterDecodesSetOne)->Unit(benchmark::kMillisecond);

}  // namespace
