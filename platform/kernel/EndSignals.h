// The signals that would end the process, taken as requests to end that the program acts on
// when it is safe to, so that a signal never cuts a download short and leaves the printer in
// download mode.
//
// Every such signal that can be caught (SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2,
// SIGALRM, SIGPIPE, the real-time signals, ...) is blocked in every thread of the process and
// read by a thread of the watch's own. It acknowledges each signal at once, also while the
// program's thread is blocked in a transfer, and hands it on to that thread through a
// descriptor that its waits can watch. A signal that the process inherited as ignored stays
// ignored, as for a background job.
#pragma once

#include <signal.h>

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace win {

class EndSignals {
public:
    // Must run before any other thread starts, since threads inherit the blocked set.
    EndSignals();
    // Ends the watch and unblocks the signals in the calling thread, so that one arriving later
    // has its default effect, as in a program that watches none.
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // Called on the watch's thread as each signal arrives; the program's thread may be busy.
    void OnArrival(std::function<void(int signal)> acknowledge);
    // Readable while a signal waits to be taken; -1 when the watch could not be set up.
    int Descriptor() const { return m_ready; }
    // The number of a signal not taken yet, or 0; never blocks.
    int Take();

private:
    void Watch();

    sigset_t m_previousMask{};
    bool m_blocked = false;
    int m_signals = -1;  // the signal descriptor the watch reads
    int m_ready = -1;    // readable while m_arrived holds a signal
    int m_stop = -1;     // ends the watch
    std::mutex m_mutex;
    std::deque<int> m_arrived;
    std::function<void(int)> m_acknowledge;
    std::thread m_thread;
};

}  // namespace win
