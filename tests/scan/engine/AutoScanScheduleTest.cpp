#include "AutoScanSchedule.h"

#include "FakeTimer.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

constexpr std::int32_t Longest = AutoScanSchedule::LongestInterval;

TEST(AutoScanScheduleTest, IntervalsOfTheMenuAndCustomOnesCutToTheLongest) {
    for (int choice = 0; choice < CustomChoice; ++choice) {
        EXPECT_EQ(AutoScanSchedule::ChoiceFor(IntervalChoices[choice].Milliseconds), choice);
    }
    EXPECT_EQ(AutoScanSchedule::ChoiceFor(240'000), CustomChoice);
    const struct {
        int count;
        IntervalUnit unit;
        std::int32_t milliseconds;
    } cases[] = {{1, IntervalUnit::Minutes, 60'000},        {2, IntervalUnit::Hours, 7'200'000},
                 {596, IntervalUnit::Hours, 2'145'600'000}, {597, IntervalUnit::Hours, Longest},
                 {24, IntervalUnit::Days, 2'073'600'000},   {999, IntervalUnit::Days, Longest}};
    for (const auto& c : cases) {
        EXPECT_EQ(AutoScanSchedule::CustomInterval(c.count, c.unit), c.milliseconds) << c.count;
    }
}

TEST(AutoScanScheduleTest, TicksEveryIntervalSkippingBusyOnesAndRestartingOnlyForANewInterval) {
    FakeTimer timer;
    bool busy = false;
    int scans = 0;
    AutoScanSchedule schedule(
        timer, [&busy] { return busy; }, [&scans] { ++scans; });
    // Each step: move the clock on, then how many scans have run.
    const auto after = [&](std::int64_t ms) {
        timer.Advance(ms);
        return scans;
    };
    EXPECT_EQ(after(9'000'000), 0) << "off";
    EXPECT_TRUE(schedule.Toggle());
    EXPECT_EQ(after(899'999), 0) << "the first scan comes a full interval later";
    EXPECT_EQ(after(1 + 2 * 900'000), 3);
    schedule.SetInterval(900'000);
    EXPECT_EQ(after(900'000), 4) << "the interval in force kept its count";
    EXPECT_EQ(after(500'000), 4);
    schedule.SetInterval(120'000);
    EXPECT_EQ(after(119'999), 4) << "a new interval counts from the change";
    busy = true;
    EXPECT_EQ(after(1), 4);
    EXPECT_EQ(schedule.SkippedTicks(), 1);
    busy = false;
    EXPECT_EQ(after(119'999), 4) << "the next tick comes a whole interval later";
    EXPECT_EQ(after(1), 5);
    EXPECT_FALSE(schedule.Toggle());
    schedule.SetInterval(86'313'600'000);
    EXPECT_EQ(schedule.Interval(), Longest) << "999 days";
    EXPECT_EQ(after(9'000'000), 5);
    EXPECT_FALSE(schedule.IsOn()) << "choosing an interval does not switch it on";
}

} // namespace
} // namespace zelmox::test
