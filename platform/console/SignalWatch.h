// SIGINT and SIGTERM as readable events instead of asynchronous handlers: both are blocked
// in the process and read from a signal descriptor, so that no call of the system's code or
// of the vendor library is ever interrupted, and the front-end decides when to act on them.
// SIGPIPE and SIGHUP are ignored: a closed output or terminal must not end a download.
#pragma once

namespace console {

class SignalWatch {
public:
    // Must run before any other thread starts, since threads inherit the blocked set. A
    // signal that the process inherited as ignored stays ignored, as for a background job.
    SignalWatch();
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // Readable while a signal is pending; -1 when none could be opened.
    int Descriptor() const { return m_descriptor; }
    // The number of a pending signal, or 0; never blocks.
    int Take();

private:
    int m_descriptor = -1;
};

}  // namespace console
