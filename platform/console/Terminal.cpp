#include "platform/console/Terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace console {

namespace {

constexpr int kDefaultColumns = 80;
constexpr char kEscape = 0x1B;

bool InForeground() {
    return tcgetpgrp(STDIN_FILENO) == getpgrp();
}

}  // namespace

Terminal::Terminal()
    : m_inputIsTerminal(isatty(STDIN_FILENO) == 1), m_outputIsTerminal(isatty(STDOUT_FILENO) == 1) {
    if (m_inputIsTerminal && InForeground() && tcgetattr(STDIN_FILENO, &m_savedMode) == 0) {
        termios keys = m_savedMode;
        // ISIG stays on: Ctrl-C is still a signal.
        keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        keys.c_cc[VMIN] = 1;
        keys.c_cc[VTIME] = 0;
        m_modeChanged = tcsetattr(STDIN_FILENO, TCSANOW, &keys) == 0;
    }
}

Terminal::~Terminal() {
    RestoreMode();
}

void Terminal::RestoreMode() {
    if (m_modeChanged) {
        tcsetattr(STDIN_FILENO, TCSANOW, &m_savedMode);
        m_modeChanged = false;
    }
}

void Terminal::Write(std::string_view text) {
    m_spool.Write(kOutput, text, OutputSpool::Kind::Lasting);
}

void Terminal::WriteError(std::string_view text) {
    m_spool.Write(kError, text, OutputSpool::Kind::Lasting);
}

void Terminal::WriteProgress(std::string_view text) {
    m_spool.Write(kOutput, text, OutputSpool::Kind::Progress);
}

bool Terminal::DrainOutput(int signalDescriptor, int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    return m_spool.Drain([signalDescriptor, limitMs, deadline] {
        pollfd pending{signalDescriptor, POLLIN, 0};
        return (signalDescriptor >= 0 && poll(&pending, 1, 0) == 1) ||
               (limitMs >= 0 && std::chrono::steady_clock::now() >= deadline);
    });
}

int Terminal::Columns() const {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return kDefaultColumns;
}

void Terminal::DiscardTypeAhead() {
    if (m_inputIsTerminal) {
        tcflush(STDIN_FILENO, TCIFLUSH);
        m_pending.clear();
    }
}

Key Terminal::WaitForKey(int signalDescriptor) {
    for (;;) {
        while (!m_pending.empty()) {
            const char c = m_pending.front();
            m_pending.erase(0, 1);
            switch (c) {
                case '\n':
                case '\r':
                    return Key::Enter;
                case 'q':
                case 'Q':
                    return Key::Quit;
                case kEscape:
                    return Key::Escape;
                default:
                    break;
            }
        }
        if (m_inputEnded) {
            return Key::EndOfInput;
        }
        pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {signalDescriptor, POLLIN, 0}};
        const nfds_t count = signalDescriptor >= 0 ? 2 : 1;
        if (poll(watched, count, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_inputEnded = true;
            continue;
        }
        if (count == 2 && (watched[1].revents & POLLIN) != 0) {
            return Key::Signal;
        }
        if ((watched[0].revents & POLLNVAL) != 0) {
            m_inputEnded = true;
            continue;
        }
        if (watched[0].revents == 0) {
            continue;
        }
        char buffer[256];
        const ssize_t length = read(STDIN_FILENO, buffer, sizeof buffer);
        if (length < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (length <= 0) {
            // End of input, or a terminal that has gone away.
            m_inputEnded = true;
            continue;
        }
        if (m_inputIsTerminal && length > 1 && buffer[0] == kEscape) {
            // A key that sends a sequence arrives in one read: skip it whole.
            continue;
        }
        m_pending.append(buffer, static_cast<size_t>(length));
    }
}

}  // namespace console
