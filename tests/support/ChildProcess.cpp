#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace testing_support {

ChildProcess& ChildProcess::Arg(std::string arg) {
    m_args.push_back(std::move(arg));
    return *this;
}

ChildProcess& ChildProcess::Env(std::string name, std::string value) {
    m_env.emplace_back(std::move(name), std::move(value));
    return *this;
}

ChildProcess& ChildProcess::Input(std::string text) {
    m_input = std::move(text);
    return *this;
}

ChildProcess& ChildProcess::WorkingDirectory(std::string directory) {
    m_directory = std::move(directory);
    return *this;
}

ChildResult ChildProcess::Run(int timeoutMs) const {
    ChildProcess child = *this;
    child.Start();
    return child.Wait(timeoutMs);
}

void ChildProcess::Start() {
    int output[2];
    int input[2];
    if (pipe2(output, O_CLOEXEC) != 0 || pipe2(input, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        if (!m_directory.empty() && chdir(m_directory.c_str()) != 0) {
            _exit(126);
        }
        for (const auto& [name, value] : m_env) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(m_program.c_str()));
        for (const std::string& arg : m_args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(m_program.c_str(), argv.data());
        _exit(127);
    }
    close(output[1]);
    close(input[0]);
    if (!m_input.empty()) {
        const ssize_t written = write(input[1], m_input.data(), m_input.size());
        (void)written;
    }
    close(input[1]);
    m_pid = pid;
    m_outputFd = output[0];
}

ChildResult ChildProcess::Wait(int timeoutMs) {
    ChildResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            result.timedOut = true;
            kill(m_pid, SIGKILL);
            break;
        }
        pollfd poller{m_outputFd, POLLIN, 0};
        if (poll(&poller, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        const ssize_t count = read(m_outputFd, buffer, sizeof(buffer));
        if (count <= 0) {
            break;
        }
        result.output.append(buffer, static_cast<size_t>(count));
    }
    close(m_outputFd);
    int status = 0;
    waitpid(m_pid, &status, 0);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m_pid = -1;
    m_outputFd = -1;
    return result;
}

}  // namespace testing_support
