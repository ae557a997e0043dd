#include "platform/console/SignalWatch.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace console {

namespace {

bool InheritedAsIgnored(int signal) {
    struct sigaction current {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

SignalWatch::SignalWatch() {
    // The earlier dispositions are of no use: the program never restores them.
    (void)signal(SIGPIPE, SIG_IGN);
    (void)signal(SIGHUP, SIG_IGN);
    sigset_t watched;
    sigemptyset(&watched);
    for (const int signal : {SIGINT, SIGTERM}) {
        if (!InheritedAsIgnored(signal)) {
            sigaddset(&watched, signal);
        }
    }
    if (sigprocmask(SIG_BLOCK, &watched, nullptr) == 0) {
        m_descriptor = signalfd(-1, &watched, SFD_NONBLOCK | SFD_CLOEXEC);
    }
}

SignalWatch::~SignalWatch() {
    if (m_descriptor >= 0) {
        close(m_descriptor);
    }
}

int SignalWatch::Take() {
    if (m_descriptor < 0) {
        return 0;
    }
    signalfd_siginfo info{};
    ssize_t count = 0;
    do {
        count = read(m_descriptor, &info, sizeof info);
    } while (count < 0 && errno == EINTR);
    return count == static_cast<ssize_t>(sizeof info) ? static_cast<int>(info.ssi_signo) : 0;
}

}  // namespace console
