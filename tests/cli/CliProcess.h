// rxt9-update-cli run as a process against the simulated printers: each test has a directory
// of its own for the printers' configuration, state and trace and for the single-instance
// lock, and every run has its clock sped up by libfaketime, so that a whole download passes
// in about a second.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

namespace clitest {

// The commands as the trace shows their bytes.
inline constexpr const char* kDownloadModeCommand = "1B 66 67 6A 70 64 6C 00";
inline constexpr const char* kRestartCommand = "1B 66 72 00";

class CliProcessTest : public ::testing::Test {
protected:
    CliProcessTest();

    // The simulated printers of the following runs; one idle printer that needs the update
    // until a test says otherwise.
    void Configure(const std::string& configuration);
    testing_support::ChildResult Run(const std::vector<std::string>& arguments,
                                     const std::string& input = "") const;
    // A /bin/sh script in the test's directory, with $CLI naming the program, $GUI the windowed
    // one, and functions
    // `fast` and `fast_exec` that run a command on the sped-up clock.
    testing_support::ChildResult RunScript(const std::string& script) const;

    // The commands that the last run sent to the printer, in order.
    std::vector<std::string> CommandsSent() const;
    std::string ReadFile(const std::string& name) const;

    testing_support::TemporaryDirectory directory;

private:
    testing_support::ChildProcess WithEnvironment(testing_support::ChildProcess child) const;
};

// Every line of the output as a JSON object; a line that is not one fails the test.
std::vector<nlohmann::json> JsonLines(const std::string& output);
// The events of one name, in order.
std::vector<nlohmann::json> EventsNamed(const std::vector<nlohmann::json>& events,
                                        const std::string& name);
// The names of the events in order, a run of one name taken once.
std::vector<std::string> EventNames(const std::vector<nlohmann::json>& events);

}  // namespace clitest
