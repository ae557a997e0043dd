#include "platform/console/OutputSpool.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

namespace console {

namespace {

// Blocks until all of `text` is written; the errno of a failure, or 0.
int WriteAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t count = write(descriptor, text.data(), text.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A descriptor that another process made non-blocking: wait until it drains.
            pollfd writable{descriptor, POLLOUT, 0};
            poll(&writable, 1, -1);
            continue;
        }
        if (count < 0) {
            return errno;
        }
        if (count == 0) {
            return EIO;
        }
        text.remove_prefix(static_cast<size_t>(count));
    }
    return 0;
}

}  // namespace

OutputSpool::OutputSpool() : m_shared(std::make_shared<Shared>()) {
    try {
        m_writer = std::thread([shared = m_shared] { Writer(shared); });
    } catch (const std::system_error&) {
        // No thread to be had (out of memory or threads): each write is made at once instead.
    }
}

OutputSpool::~OutputSpool() {
    bool writing = false;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
        writing = m_shared->writing;
    }
    m_shared->changed.notify_all();
    if (!m_writer.joinable()) {
        return;
    }
    if (writing) {
        // A write that may never return (a stopped terminal) must not keep the process alive;
        // the writer keeps what it uses.
        m_writer.detach();
    } else {
        m_writer.join();
    }
}

void OutputSpool::Write(int descriptor, std::string_view text, Kind kind) {
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->errors.count(descriptor) != 0) {
            return;
        }
        if (!m_writer.joinable()) {
            if (const int error = WriteAll(descriptor, text)) {
                m_shared->errors.emplace(descriptor, error);
            }
            return;
        }
        std::deque<Chunk>& queue = m_shared->queue;
        if (kind == Kind::Progress && !queue.empty() && queue.back().kind == Kind::Progress &&
            queue.back().descriptor == descriptor) {
            queue.back().text.assign(text);
        } else {
            queue.push_back({descriptor, std::string(text), kind});
        }
    }
    m_shared->changed.notify_all();
}

int OutputSpool::ErrorOf(int descriptor) const {
    std::lock_guard lock(m_shared->mutex);
    const auto found = m_shared->errors.find(descriptor);
    return found == m_shared->errors.end() ? 0 : found->second;
}

bool OutputSpool::WaitDrained(int milliseconds) {
    std::unique_lock lock(m_shared->mutex);
    return m_shared->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] {
        return m_shared->queue.empty() && !m_shared->writing;
    });
}

void OutputSpool::Writer(const std::shared_ptr<Shared>& shared) {
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->changed.wait(lock, [&] { return shared->stop || !shared->queue.empty(); });
        if (shared->stop) {
            // What is left was abandoned; the program drains what it needs before this.
            return;
        }
        Chunk chunk = std::move(shared->queue.front());
        shared->queue.pop_front();
        if (shared->errors.count(chunk.descriptor) != 0) {
            continue;
        }
        shared->writing = true;
        lock.unlock();
        const int error = WriteAll(chunk.descriptor, chunk.text);
        lock.lock();
        shared->writing = false;
        if (error != 0) {
            shared->errors.emplace(chunk.descriptor, error);
        }
        shared->changed.notify_all();
    }
}

}  // namespace console
