// Output that never holds up the program: what it is given is queued and written by a thread
// of its own, so that a terminal stopped with Ctrl-S, a slow remote link or a pipe nobody
// reads stalls only that thread, never a transfer to the printer. Lasting text (messages,
// events) is always written, in order; a progress update that is still waiting when a newer
// one comes is replaced by it.
#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace console {

class OutputSpool {
public:
    enum class Kind { Lasting, Progress };

    OutputSpool();
    // Drops what is still queued, and waits for no write: a writer blocked in one is left to
    // the end of the process.
    ~OutputSpool();
    OutputSpool(const OutputSpool&) = delete;
    OutputSpool& operator=(const OutputSpool&) = delete;

    void Write(int descriptor, std::string_view text, Kind kind);
    // Waits until everything queued has been written (or dropped after an error), unless
    // `abandon`, asked every few milliseconds, says to stop waiting. False when abandoned.
    template <typename Abandon>
    bool Drain(Abandon abandon);
    // The first error (errno) of a write to `descriptor`, or 0. After an error, further text
    // for that descriptor is dropped.
    int ErrorOf(int descriptor) const;

private:
    struct Chunk {
        int descriptor;
        std::string text;
        Kind kind;
    };
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<Chunk> queue;
        bool writing = false;  // the writer holds a chunk taken from the queue
        bool stop = false;
        std::map<int, int> errors;  // descriptor, errno of its first failed write
    };

    static void Writer(const std::shared_ptr<Shared>& shared);
    bool WaitDrained(int milliseconds);

    // Shared with the writer, which may outlive this object when it is stuck in a write.
    std::shared_ptr<Shared> m_shared;
    std::thread m_writer;
};

template <typename Abandon>
bool OutputSpool::Drain(Abandon abandon) {
    constexpr int kLookEveryMs = 20;
    while (!WaitDrained(kLookEveryMs)) {
        if (abandon()) {
            return false;
        }
    }
    return true;
}

}  // namespace console
