// The simulated vendor library, loaded beside the test program through the platform's loader
// and bound as the tool binds it, with its control entry points for the tests.
#pragma once

#include <string>

#include "platform/VirtualClock.h"
#include "tests/harness/SimControls.h"

class SimulatedLibrary {
public:
    // Binds the library into the process's USB library record; a slow link and a read that
    // gets no reply within the library's time limit charge their time to the given clock.
    explicit SimulatedLibrary(win::VirtualClock& clock);
    ~SimulatedLibrary();
    SimulatedLibrary(const SimulatedLibrary&) = delete;
    SimulatedLibrary& operator=(const SimulatedLibrary&) = delete;

    bool Loaded() const { return m_loaded; }
    const SimControls& Controls() const { return m_controls; }
    // A new configuration (the text of a configuration file; empty: the default printer).
    bool Reset(const std::string& config);
    // Waits until the printers have handled everything written to them. Every reader of their
    // state below settles first, so that a probe at a point of virtual time sees what the
    // printer made of the commands sent before it, not a race with the printer's thread.
    void Settle();
    std::string ReceivedLog(unsigned printer = 0);
    // How often a line of the received log starts with the text.
    int Count(const std::string& linePrefix, unsigned printer = 0);
    std::string Firmware(char area, unsigned printer = 0);  // "450D42/3AC3"
    int InDownloadMode(unsigned printer = 0);
    unsigned OpenHandles();
    // Whether the library simulates a write taken short, and a failed write after which the
    // same out-pipe still takes the restart (not the simulated ZELPORT.dll).
    bool TakesShortWrites() const {
        return (m_controls.limits & ZELPORT_SIM_LIMIT_NO_SHORT_WRITES) == 0;
    }
    bool KeepsPipeAfterFailedWrite() const {
        return (m_controls.limits & ZELPORT_SIM_LIMIT_FAILED_WRITE_ENDS_PIPE) == 0;
    }

private:
    bool m_loaded = false;
    SimControls m_controls;
};
