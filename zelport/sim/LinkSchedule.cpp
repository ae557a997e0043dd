#include "zelport/sim/LinkSchedule.h"

#include <algorithm>
#include <iterator>

namespace zelsim {

void LinkSchedule::ResetLinks(size_t printers, Clock::time_point now) {
    m_busyUntil.assign(printers, now);
}

std::vector<LinkSchedule::Step> LinkSchedule::TakeAll() {
    std::vector<Step> steps;
    steps.swap(m_steps);
    return steps;
}

std::optional<LinkSchedule::Step> LinkSchedule::Schedule(Step step, uint32_t milliseconds,
                                                         Clock::time_point now) {
    if (m_timeSink != nullptr) {
        if (milliseconds > 0) {
            m_timeSink(milliseconds);
        }
        return step;
    }
    Clock::time_point& busyUntil = m_busyUntil[step.printer];
    step.due = std::max(now, busyUntil) + std::chrono::milliseconds(milliseconds);
    busyUntil = step.due;
    if (step.due <= now && m_steps.empty()) {
        return step;
    }
    // After the steps due at the same time, which were scheduled first.
    const auto later =
        std::upper_bound(m_steps.begin(), m_steps.end(), step.due,
                         [](Clock::time_point due, const Step& other) { return due < other.due; });
    m_steps.insert(later, std::move(step));
    return std::nullopt;
}

LinkSchedule::Clock::time_point LinkSchedule::Reserve(size_t printer, uint32_t milliseconds,
                                                      Clock::time_point now) {
    if (m_timeSink != nullptr) {
        if (milliseconds > 0) {
            m_timeSink(milliseconds);
        }
        return now;
    }
    Clock::time_point& busyUntil = m_busyUntil[printer];
    busyUntil = std::max(now, busyUntil) + std::chrono::milliseconds(milliseconds);
    return busyUntil;
}

std::vector<LinkSchedule::Step> LinkSchedule::TakeDue(Clock::time_point now) {
    const auto firstLater = std::find_if(m_steps.begin(), m_steps.end(),
                                         [&](const Step& step) { return step.due > now; });
    std::vector<Step> due(std::make_move_iterator(m_steps.begin()),
                          std::make_move_iterator(firstLater));
    m_steps.erase(m_steps.begin(), firstLater);
    return due;
}

std::optional<LinkSchedule::Clock::time_point> LinkSchedule::NextDue() const {
    if (m_steps.empty()) {
        return std::nullopt;
    }
    return m_steps.front().due;
}

}  // namespace zelsim
