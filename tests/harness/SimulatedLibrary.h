// The simulated vendor library, loaded beside the test program through the platform's loader
// and bound as the tool binds it, with its control entry points for the tests.
#pragma once

#include <string>

#include "platform/VirtualClock.h"
#include "zelport/sim/ZelportSim.h"

// The library's time limit runs in real time, even where a slow link charges a virtual clock.
// A case of a silent printer waits it out; in every other case each reply has to arrive within
// it on a machine that may be busy, so only the silent cases shorten it, and not below this.
inline constexpr const char* kSilentPrinterTimeLimit = "time-limit-ms 500\n";

class SimulatedLibrary {
public:
    // Binds the library into the process's USB library record; a slow link charges its time
    // to the given clock.
    explicit SimulatedLibrary(win::VirtualClock& clock);
    ~SimulatedLibrary();
    SimulatedLibrary(const SimulatedLibrary&) = delete;
    SimulatedLibrary& operator=(const SimulatedLibrary&) = delete;

    bool Loaded() const { return m_loaded; }
    // A new configuration (the text of a configuration file; empty: the default printer).
    bool Reset(const std::string& config);
    void Settle();
    std::string ReceivedLog(unsigned printer = 0);
    // How often a line of the received log starts with the text.
    int Count(const std::string& linePrefix, unsigned printer = 0);
    std::string Firmware(char area, unsigned printer = 0);  // "450D42/3AC3"
    int InDownloadMode(unsigned printer = 0);
    unsigned OpenHandles();

private:
    bool m_loaded = false;
    PFN_ZelportSimReset m_reset = nullptr;
    PFN_ZelportSimSettle m_settle = nullptr;
    PFN_ZelportSimReceivedLog m_log = nullptr;
    PFN_ZelportSimFirmware m_firmware = nullptr;
    PFN_ZelportSimInDownloadMode m_downloadMode = nullptr;
    PFN_ZelportSimOpenHandles m_openHandles = nullptr;
    PFN_ZelportSimSetTimeSink m_timeSink = nullptr;
};
