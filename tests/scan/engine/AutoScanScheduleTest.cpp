#include "AutoScanSchedule.h"

#include "FakeTimer.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

constexpr std::int32_t Longest = AutoScanSchedule::LongestInterval;

TEST(AutoScanScheduleTest, StoredIntervalChecksItsItemOrCustom) {
    for (int choice = 0; choice < CustomChoice; ++choice) {
        EXPECT_EQ(AutoScanSchedule::ChoiceFor(IntervalChoices[choice].Milliseconds), choice);
    }
    for (const std::int32_t other : {240'000, 60'000, 0, Longest}) {
        EXPECT_EQ(AutoScanSchedule::ChoiceFor(other), CustomChoice) << other;
    }
}

TEST(AutoScanScheduleTest, CustomIntervalIsWorkedOutIn64BitsAndCut) {
    const struct {
        int count;
        IntervalUnit unit;
        std::int32_t milliseconds;
    } cases[] = {
        {1, IntervalUnit::Minutes, 60'000},  {999, IntervalUnit::Minutes, 59'940'000},
        {2, IntervalUnit::Hours, 7'200'000}, {596, IntervalUnit::Hours, 2'145'600'000},
        {597, IntervalUnit::Hours, Longest}, {24, IntervalUnit::Days, 2'073'600'000},
        {25, IntervalUnit::Days, Longest},   {999, IntervalUnit::Days, Longest},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AutoScanSchedule::CustomInterval(c.count, c.unit), c.milliseconds) << c.count;
    }
}

class ScheduleTest : public ::testing::Test {
protected:
    FakeTimer timer;
    bool busy = false;
    int scans = 0;
    AutoScanSchedule schedule{timer, [this] { return busy; }, [this] { ++scans; }};
};

TEST_F(ScheduleTest, OnScansEveryIntervalFromAFullIntervalLaterAndOffStops) {
    timer.Advance(10 * 900'000);
    EXPECT_EQ(scans, 0) << "off";
    EXPECT_TRUE(schedule.Toggle());
    EXPECT_EQ(timer.Period(), 900'000);
    timer.Advance(899'999);
    EXPECT_EQ(scans, 0) << "no scan at once";
    timer.Advance(1);
    EXPECT_EQ(scans, 1);
    timer.Advance(3 * 900'000);
    EXPECT_EQ(scans, 4);
    EXPECT_FALSE(schedule.Toggle());
    timer.Advance(10 * 900'000);
    EXPECT_EQ(scans, 4);
}

TEST_F(ScheduleTest, OnlyADifferentIntervalRestartsTheCount) {
    schedule.Toggle();
    timer.Advance(500'000);
    schedule.SetInterval(900'000);
    timer.Advance(400'000);
    EXPECT_EQ(scans, 1) << "the interval in force kept its count";

    timer.Advance(500'000);
    schedule.SetInterval(120'000);
    EXPECT_EQ(schedule.Interval(), 120'000);
    timer.Advance(119'999);
    EXPECT_EQ(scans, 1) << "a new interval counts from the change";
    timer.Advance(1);
    EXPECT_EQ(scans, 2);

    schedule.Toggle();
    schedule.SetInterval(86'313'600'000);
    EXPECT_EQ(schedule.Interval(), Longest) << "999 days";
    EXPECT_FALSE(schedule.IsOn()) << "choosing an interval does not switch it on";
}

TEST_F(ScheduleTest, TickWhileBusyIsSkippedAndTheNextOneScans) {
    schedule.SetInterval(120'000);
    schedule.Toggle();
    busy = true;
    timer.Advance(120'000);
    EXPECT_EQ(scans, 0);
    EXPECT_EQ(schedule.SkippedTicks(), 1);
    busy = false;
    timer.Advance(119'999);
    EXPECT_EQ(scans, 0) << "the next tick comes a whole interval later";
    timer.Advance(1);
    EXPECT_EQ(scans, 1);
}

} // namespace
} // namespace zelmox::test
