// The model backend for tests, which fails the test when a scripted action was never played:
// a probe left in the script when its window closed would otherwise skip its checks silently.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/model/ModelBackend.h"

class ScriptedModel : public win::ModelBackend {
public:
    explicit ScriptedModel(win::VirtualClock* clock = nullptr) : win::ModelBackend(clock) {}
    // Fails the running test when an action of the script was never played.
    ~ScriptedModel() override;
    ScriptedModel(const ScriptedModel&) = delete;
    ScriptedModel& operator=(const ScriptedModel&) = delete;

    void Script(win::UserAction action);
    void ClickButton(DWORD at, UINT id) { Script({at, win::UserActionKind::ClickButton, id, {}}); }
    void PressKey(DWORD at, UINT key) { Script({at, win::UserActionKind::PressKey, key, {}}); }
    void SystemCommand(DWORD at, UINT command) {
        Script({at, win::UserActionKind::SystemCommand, command, {}});
    }
    void Probe(DWORD at, std::function<void()> probe) {
        Script({at, win::UserActionKind::Probe, 0, std::move(probe)});
    }
    // The window closes on its own before `at`: the test fails if the program still looks
    // for input then.
    void ExpectClosedBefore(DWORD at);

    // The scripted actions not played yet, by their tick counts, as "at T: kind".
    std::string Unplayed() const;

    // The ends of the runs as the program reported them, in order.
    void RunEnded(const win::RunEnd& end) override { m_runEnds.push_back(end); }
    const std::vector<win::RunEnd>& RunEnds() const { return m_runEnds; }
    void StartupChecked(const win::StartupReport& report) override {
        m_startupReports.push_back(report);
    }
    const std::vector<win::StartupReport>& StartupReports() const { return m_startupReports; }

    // The start-up check may wait for a printer while less than `limitMs` has passed; without
    // this it never waits. The waits it asked for, by the time waited.
    void WaitForPrinterUpTo(DWORD limitMs) { m_printerWaitLimit = limitMs; }
    bool WaitForPrinter(DWORD waitedMs) override {
        m_printerWaits.push_back(waitedMs);
        return m_printerWaitLimit && waitedMs < *m_printerWaitLimit;
    }
    const std::vector<DWORD>& PrinterWaits() const { return m_printerWaits; }

private:
    void Played(int action) { m_pending.erase(action); }

    std::map<int, std::string> m_pending;
    std::vector<win::RunEnd> m_runEnds;
    std::vector<win::StartupReport> m_startupReports;
    std::optional<DWORD> m_printerWaitLimit;
    std::vector<DWORD> m_printerWaits;
    int m_nextAction = 0;
};
