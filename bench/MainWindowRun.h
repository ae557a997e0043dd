// One start of the main window against the simulated printer, on the model backend: the
// start-up check and, when asked, one press of Download after it, until the window closes.
// On the virtual clock a whole Download takes no real time; on the real clock it takes as
// long as the printer's waits.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/VirtualClock.h"
#include "platform/model/ModelBackend.h"
#include "tests/harness/SimulatedLibrary.h"

class CUpdateDlg;

class MainWindowRun {
public:
    enum class ClockKind { Virtual, Real };

    // Installs the clock and the model backend and binds a freshly reset simulated library
    // with the default printer (or the given configuration).
    explicit MainWindowRun(ClockKind clock, const std::string& config = "");
    ~MainWindowRun();
    MainWindowRun(const MainWindowRun&) = delete;
    MainWindowRun& operator=(const MainWindowRun&) = delete;

    bool Ready() const { return m_ready; }
    SimulatedLibrary& Library() { return m_library; }

    // Runs the window; with pressDownload, Download is pressed once the start-up check is
    // over. `during` runs at the given delay after the press, inside the run.
    void Run(bool pressDownload, DWORD duringDelay = 0, std::function<void()> during = {});

    const std::vector<win::MessageBoxRecord>& Boxes() const { return m_model.MessageBoxes(); }
    // The tick count at which Download was pressed.
    DWORD PressTick() const { return m_pressTick; }
    // The run ended with the success box and nothing else was shown.
    bool Succeeded() const;
    // Bytes of image data the printer received, padding included.
    uint64_t ImageBytesReceived();

private:
    static constexpr DWORD kVirtualStart = 10000;
    // The start-up check waits 1.1 s; the press comes well after it.
    static constexpr DWORD kPressAfterStart = 3000;

    win::VirtualClock m_clock{kVirtualStart};
    win::ModelBackend m_model;
    SimulatedLibrary m_library;
    bool m_ready = false;
    DWORD m_pressTick = 0;
};
