// The link's schedule on made-up times: the order in which steps come due, each printer's link
// carrying one step after the other, and the time sink that stands in for waiting.
#include "zelport/sim/LinkSchedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zelsim::LinkSchedule;
using Clock = LinkSchedule::Clock;

const Clock::time_point kStart{};

Clock::time_point At(int milliseconds) {
    return kStart + std::chrono::milliseconds(milliseconds);
}

LinkSchedule::Step Reply(size_t printer, uint8_t tag) {
    LinkSchedule::Step step;
    step.printer = printer;
    step.reply = {tag};
    return step;
}

std::vector<uint8_t> Tags(const std::vector<LinkSchedule::Step>& steps) {
    std::vector<uint8_t> tags;
    tags.reserve(steps.size());
    for (const LinkSchedule::Step& step : steps) {
        tags.push_back(step.reply.at(0));
    }
    return tags;
}

class ZelportLinkSchedule : public ::testing::Test {
protected:
    void SetUp() override { m_schedule.ResetLinks(2, kStart); }

    // Schedules a step that must wait.
    void Hold(size_t printer, uint8_t tag, uint32_t milliseconds, Clock::time_point now) {
        ASSERT_FALSE(m_schedule.Schedule(Reply(printer, tag), milliseconds, now));
    }

    LinkSchedule m_schedule;
};

TEST_F(ZelportLinkSchedule, AStepWithoutTimeOnAnIdleLinkIsDoneAtOnce) {
    const std::optional<LinkSchedule::Step> now = m_schedule.Schedule(Reply(0, 1), 0, kStart);
    ASSERT_TRUE(now);
    EXPECT_EQ(now->due, kStart);
    EXPECT_FALSE(m_schedule.NextDue());
}

TEST_F(ZelportLinkSchedule, AStepComesDueWhenItsTimeHasPassed) {
    Hold(0, 1, 10, kStart);
    EXPECT_EQ(m_schedule.NextDue(), At(10));
    EXPECT_TRUE(m_schedule.TakeDue(At(9)).empty());
    EXPECT_EQ(Tags(m_schedule.TakeDue(At(10))), std::vector<uint8_t>{1});
    EXPECT_FALSE(m_schedule.NextDue());
}

TEST_F(ZelportLinkSchedule, APrintersStepsFollowEachOtherOnItsLink) {
    Hold(0, 1, 10, kStart);
    Hold(0, 2, 10, At(4));
    // Even a step without time waits for the link, and so for the steps before it.
    Hold(0, 3, 0, At(5));
    EXPECT_EQ(Tags(m_schedule.TakeDue(At(19))), std::vector<uint8_t>{1});
    EXPECT_EQ(Tags(m_schedule.TakeDue(At(20))), (std::vector<uint8_t>{2, 3}));
}

TEST_F(ZelportLinkSchedule, EachPrinterHasALinkOfItsOwn) {
    Hold(0, 1, 30, kStart);
    Hold(1, 2, 10, kStart);
    Hold(1, 3, 10, kStart);
    EXPECT_EQ(m_schedule.NextDue(), At(10));
    EXPECT_EQ(Tags(m_schedule.TakeDue(At(20))), (std::vector<uint8_t>{2, 3}));
    EXPECT_EQ(Tags(m_schedule.TakeDue(At(30))), std::vector<uint8_t>{1});
}

TEST_F(ZelportLinkSchedule, StepsDueTogetherKeepTheOrderTheyWereScheduledIn) {
    Hold(0, 1, 10, kStart);
    Hold(1, 2, 10, kStart);
    Hold(1, 3, 0, At(10));  // due at 10 too: printer 1's link is busy until then
    EXPECT_EQ(Tags(m_schedule.TakeDue(At(10))), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(ZelportLinkSchedule, AStepDueAtOnceWaitsWhileEarlierStepsWait) {
    Hold(0, 1, 10, kStart);
    // Printer 1's link is idle, but the step must not overtake printer 0's, which may be due
    // by the time the thread looks.
    Hold(1, 2, 0, At(10));
    EXPECT_EQ(Tags(m_schedule.TakeDue(At(10))), (std::vector<uint8_t>{1, 2}));
}

TEST_F(ZelportLinkSchedule, ALinkResetIsIdleAgain) {
    Hold(0, 1, 50, kStart);
    EXPECT_EQ(Tags(m_schedule.TakeAll()), std::vector<uint8_t>{1});
    EXPECT_FALSE(m_schedule.NextDue());
    m_schedule.ResetLinks(2, At(5));
    Hold(0, 2, 10, At(5));
    EXPECT_EQ(m_schedule.NextDue(), At(15));
}

std::vector<uint32_t> g_charged;

void Charge(uint32_t milliseconds) {
    g_charged.push_back(milliseconds);
}

TEST_F(ZelportLinkSchedule, ATimeSinkTakesTheTimeInsteadOfHoldingTheStep) {
    g_charged.clear();
    m_schedule.SetTimeSink(Charge);
    EXPECT_TRUE(m_schedule.Schedule(Reply(0, 1), 25, kStart));
    EXPECT_TRUE(m_schedule.Schedule(Reply(0, 2), 0, kStart));
    EXPECT_EQ(g_charged, std::vector<uint32_t>{25});
    EXPECT_FALSE(m_schedule.NextDue());
    m_schedule.SetTimeSink(nullptr);
    // The charged time kept no link busy.
    Hold(0, 3, 10, kStart);
    EXPECT_EQ(m_schedule.NextDue(), At(10));
}

}  // namespace
