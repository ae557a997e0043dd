// Runs a program as a child process with extra environment variables, collects what it
// writes and how it ended, and kills it when it outlives its time limit.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct ChildResult {
    int exitStatus = -1;  // the exit status, or 128 + signal number
    bool timedOut = false;
    std::string output;  // standard output and standard error, interleaved
};

class ChildProcess {
public:
    explicit ChildProcess(std::string program) : m_program(std::move(program)) {}

    ChildProcess& Arg(std::string arg);
    ChildProcess& Env(std::string name, std::string value);
    ChildProcess& Input(std::string text);
    ChildProcess& WorkingDirectory(std::string directory);

    // Starts the child and waits for it, at most timeoutMs of real time.
    ChildResult Run(int timeoutMs) const;
    // Starts the child without waiting; Wait collects it. One child at a time per object.
    void Start();
    ChildResult Wait(int timeoutMs);

private:
    std::string m_program;
    std::vector<std::string> m_args;
    std::vector<std::pair<std::string, std::string>> m_env;
    std::string m_input;
    std::string m_directory;
    int m_pid = -1;
    int m_outputFd = -1;
};

}  // namespace testing_support
