// What each printer's link still has to do, in the order its time passes. A link carries one
// transfer at a time: a step waits for the printer's steps before it, then for its own time.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zelsim {

class LinkSchedule {
public:
    using Clock = std::chrono::steady_clock;

    // A reply that the link hands to the in-pipe once its time has passed.
    struct Step {
        Clock::time_point due;
        size_t printer = 0;
        uint64_t generation = 0;
        std::vector<uint8_t> reply;
    };

    // With a sink, the link charges each step's time by calling `advance` and the step is done
    // at once, instead of waiting in real time. Null returns to real time.
    void SetTimeSink(void (*advance)(uint32_t milliseconds)) { m_timeSink = advance; }
    bool ChargesTime() const { return m_timeSink != nullptr; }
    // With a time sink, charges a wait of the tool's that the link did not serve: a read that
    // got no reply within the time limit.
    void Charge(uint32_t milliseconds) const {
        if (m_timeSink != nullptr && milliseconds > 0) {
            m_timeSink(milliseconds);
        }
    }

    // Gives each of `printers` a link that is free from `now`. Steps already scheduled stay.
    void ResetLinks(size_t printers, Clock::time_point now);
    // Removes every step not done yet and returns them, earliest first.
    std::vector<Step> TakeAll();

    // Makes `step` due `milliseconds` after its printer's link is free (at `now` at the
    // earliest) and keeps the link busy until then. Returns the step when it is due already
    // and no other step waits, or when a time sink took its time, for the caller to do at
    // once; otherwise keeps it.
    std::optional<Step> Schedule(Step step, uint32_t milliseconds, Clock::time_point now);
    // Keeps the printer's link busy with a write for `milliseconds` after what it carries now
    // (from `now` at the earliest) and returns when the write ends; with a time sink, charges
    // the time at once and returns `now`.
    Clock::time_point Reserve(size_t printer, uint32_t milliseconds, Clock::time_point now);
    // Removes the steps due at `now` and returns them, earliest first.
    std::vector<Step> TakeDue(Clock::time_point now);
    // When the earliest step is due; none when no step waits.
    std::optional<Clock::time_point> NextDue() const;

private:
    std::vector<Step> m_steps;  // by due time
    std::vector<Clock::time_point> m_busyUntil;
    void (*m_timeSink)(uint32_t) = nullptr;
};

}  // namespace zelsim
