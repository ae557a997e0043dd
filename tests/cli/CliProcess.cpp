#include "tests/cli/CliProcess.h"

#include <fstream>
#include <sstream>

#include "tests/cli/JsonEventsDocument.h"

namespace clitest {

namespace {

constexpr int kRunTimeoutMs = 60000;
// Fast enough for a download of about a second; slow enough that the transfer's time limit
// (two minutes per item on the tool's clock) stays far off on a busy machine.
constexpr const char* kSpeed = "+0 x100";

}  // namespace

CliProcessTest::CliProcessTest() {
    Configure("printer\n");
}

void CliProcessTest::Configure(const std::string& configuration) {
    directory.WriteFile("printers.conf", configuration);
}

testing_support::ChildProcess CliProcessTest::WithEnvironment(
    testing_support::ChildProcess child) const {
    child.Env("RXT9_SIM_CONFIG", directory.File("printers.conf"))
        .Env("RXT9_SIM_STATE", directory.File("printers.state"))
        .Env("RXT9_SIM_TRACE", directory.File("transfers.trace"))
        .Env("RXT9_ZELPORT", "")
        .Env("RXT9_LOCK_DIR", directory.Path())
        .Env("FAKETIME_DONT_FAKE_MONOTONIC", "0")
        .WorkingDirectory(directory.Path());
    return child;
}

testing_support::ChildResult CliProcessTest::Run(const std::vector<std::string>& arguments,
                                                 const std::string& input) const {
    testing_support::ChildProcess child(RXT9_CLI);
    for (const std::string& argument : arguments) {
        child.Arg(argument);
    }
    child.Env("LD_PRELOAD", RXT9_FAKETIME_LIBRARY).Env("FAKETIME", kSpeed).Input(input);
    return WithEnvironment(std::move(child)).Run(kRunTimeoutMs);
}

testing_support::ChildResult CliProcessTest::RunScript(const std::string& script) const {
    // fast_exec, for a command started in the background: $! is then the command itself.
    const std::string prelude =
        "fast() { LD_PRELOAD=\"$FAST_PRELOAD\" FAKETIME=\"$FAST_SPEED\" \"$@\"; }\n"
        "fast_exec() { export LD_PRELOAD=\"$FAST_PRELOAD\" FAKETIME=\"$FAST_SPEED\"; "
        "exec \"$@\"; }\n";
    testing_support::ChildProcess child("/bin/sh");
    child.Arg("-c")
        .Arg(prelude + script)
        .Env("CLI", RXT9_CLI)
        .Env("GUI", RXT9_PROGRAM)
        .Env("FAST_PRELOAD", RXT9_FAKETIME_LIBRARY)
        .Env("FAST_SPEED", kSpeed);
    return WithEnvironment(std::move(child)).Run(kRunTimeoutMs);
}

std::string CliProcessTest::ReadFile(const std::string& name) const {
    std::ifstream in(directory.File(name));
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::vector<std::string> CliProcessTest::CommandsSent() const {
    // A transfer line: "<time> PIPE00 host->printer <printer> <n> bytes[, outcome]: <hex> ...".
    std::vector<std::string> commands;
    std::istringstream trace(ReadFile("transfers.trace"));
    std::string line;
    while (std::getline(trace, line)) {
        if (line.find(" PIPE00 host->printer ") == std::string::npos) {
            continue;
        }
        const size_t colon = line.find(": ", line.find(" bytes"));
        if (colon == std::string::npos || line.compare(colon + 2, 2, "1B") != 0) {
            continue;  // image data
        }
        std::string bytes = line.substr(colon + 2);
        const size_t more = bytes.find(" ...");
        commands.push_back(more == std::string::npos ? bytes : bytes.substr(0, more));
    }
    return commands;
}

std::vector<nlohmann::json> JsonLines(const std::string& output) {
    std::vector<nlohmann::json> events;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const nlohmann::json event = nlohmann::json::parse(line, nullptr, false);
        EXPECT_EQ(JsonEventsDocument::Page().Undocumented(event), "")
            << "not an event of docs/json-events.md: " << line;
        if (event.is_object()) {
            events.push_back(event);
        }
    }
    return events;
}

std::vector<nlohmann::json> EventsNamed(const std::vector<nlohmann::json>& events,
                                        const std::string& name) {
    std::vector<nlohmann::json> named;
    for (const nlohmann::json& event : events) {
        if (event.value("event", "") == name) {
            named.push_back(event);
        }
    }
    return named;
}

std::vector<std::string> EventNames(const std::vector<nlohmann::json>& events) {
    std::vector<std::string> names;
    for (const nlohmann::json& event : events) {
        const std::string name = event.value("event", "");
        if (names.empty() || names.back() != name) {
            names.push_back(name);
        }
    }
    return names;
}

}  // namespace clitest
