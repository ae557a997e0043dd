// The main window against simulated printers, on the virtual clock.
#pragma once

#include "app/MessageCatalogue.h"
#include "tests/harness/SimulatedLibrary.h"
#include "tests/harness/UpdateHarness.h"

class UpdateTest : public UpdateHarness {
protected:
    // Times of the script: the start-up check runs at kStart, a first press of Download comes
    // well after it, and each later moment lies past the end of the run before it.
    static constexpr DWORD kFirstPress = kStart + 5000;
    static constexpr DWORD kAfterFirstRun = kStart + 1000000;
    static constexpr DWORD kSecondPress = kStart + 1000100;
    static constexpr DWORD kAfterSecondRun = kStart + 2000000;

    void SetUp() override {
        UpdateHarness::SetUp();
        ASSERT_TRUE(sim.Loaded()) << "ZELPORT.so beside the test program";
    }

    // Expects the main window's state at `at`: Download enabled and focused, and the rows.
    void ExpectIdleAt(DWORD at);
    std::vector<std::string> Row(const std::array<std::string, 4>& versions,
                                 const std::array<std::string, 4>& checksums) const;

protected:
    std::vector<std::string> Log(unsigned printer = 0);

    SimulatedLibrary sim{clock};
};
