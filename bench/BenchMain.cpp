// The benchmark program: Google Benchmark's options, plus the program's own (BenchModes.h).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/BenchModes.h"

int main(int argc, char** argv) {
    std::vector<char*> arguments;
    bool realClockWaits = false;
    bool realClockDownload = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], kMeasurePeakMemoryOption) == 0) {
            return MeasurePeakMemoryOfOneDownload();
        }
        if (std::strcmp(argv[i], kRealClockWaitsOption) == 0) {
            realClockWaits = true;
        } else if (std::strcmp(argv[i], kRealClockDownloadOption) == 0) {
            realClockDownload = true;
        } else {
            arguments.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 1;
    }
    RegisterStartupTimes();
    if (realClockWaits) {
        RegisterRealClockWaits();
    }
    if (realClockDownload) {
        RegisterRealClockDownload();
        RegisterCliDownloadPeakMemory();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
