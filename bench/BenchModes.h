// The benchmark program's own options, beside Google Benchmark's. The runs on the real clock
// take real time (seconds to a minute each), so they run only when asked for.
#pragma once

constexpr const char* kRealClockWaitsOption = "--real-clock-waits";
constexpr const char* kRealClockDownloadOption = "--real-clock-download";
// Internal: the process that BM_PeakResidentMemoryOfADownload starts.
constexpr const char* kMeasurePeakMemoryOption = "--measure-peak-memory";

void RegisterRealClockWaits();
void RegisterRealClockDownload();
void RegisterCliDownloadPeakMemory();
void RegisterStartupTimes();
int MeasurePeakMemoryOfOneDownload();
