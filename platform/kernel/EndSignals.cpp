#include "platform/kernel/EndSignals.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace win {

namespace {

// The asynchronous signals whose default action ends the process. The faults (SIGSEGV,
// SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS) come from the program itself and cannot
// wait.
sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE,
                             SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGPOLL, SIGPWR, SIGSTKFLT}) {
        sigaddset(&set, signal);
    }
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) {
        sigaddset(&set, signal);
    }
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction current {};
        if (sigismember(&set, signal) == 1 && sigaction(signal, nullptr, &current) == 0 &&
            current.sa_handler == SIG_IGN) {
            sigdelset(&set, signal);
        }
    }
    return set;
}

void Signal(int descriptor) {
    const uint64_t one = 1;
    ssize_t written = 0;
    do {
        written = write(descriptor, &one, sizeof one);
    } while (written < 0 && errno == EINTR);
}

}  // namespace

EndSignals::EndSignals() {
    const sigset_t watched = EndingSignals();
    if (pthread_sigmask(SIG_BLOCK, &watched, &m_previousMask) != 0) {
        return;
    }
    m_blocked = true;
    m_signals = signalfd(-1, &watched, SFD_NONBLOCK | SFD_CLOEXEC);
    m_ready = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    m_stop = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_signals >= 0 && m_ready >= 0 && m_stop >= 0) {
        try {
            m_thread = std::thread([this] { Watch(); });
        } catch (const std::system_error&) {
            // No watch: the signals wait, blocked, until the program has ended its run.
        }
    }
}

EndSignals::~EndSignals() {
    if (m_thread.joinable()) {
        Signal(m_stop);
        m_thread.join();
    }
    if (m_blocked) {
        pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
    }
    for (const int descriptor : {m_signals, m_ready, m_stop}) {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
}

void EndSignals::OnArrival(std::function<void(int)> acknowledge) {
    std::lock_guard lock(m_mutex);
    m_acknowledge = std::move(acknowledge);
}

void EndSignals::Watch() {
    for (;;) {
        pollfd watched[2] = {{m_signals, POLLIN, 0}, {m_stop, POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((watched[1].revents & POLLIN) != 0) {
            return;
        }
        signalfd_siginfo info{};
        while (read(m_signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            const int signal = static_cast<int>(info.ssi_signo);
            std::lock_guard lock(m_mutex);
            m_arrived.push_back(signal);
            if (m_acknowledge) {
                m_acknowledge(signal);
            }
            Signal(m_ready);
        }
    }
}

int EndSignals::Take() {
    std::lock_guard lock(m_mutex);
    if (m_arrived.empty()) {
        return 0;
    }
    const int signal = m_arrived.front();
    m_arrived.pop_front();
    if (m_arrived.empty()) {
        uint64_t count = 0;
        while (read(m_ready, &count, sizeof count) < 0 && errno == EINTR) {
        }
    }
    return signal;
}

}  // namespace win
