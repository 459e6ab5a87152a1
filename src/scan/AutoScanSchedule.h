#pragma once

#include "IntervalTimer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <limits>

namespace zelmox {

// An item of the interval menu.
struct IntervalChoice {
    const char* Name;
    const char* Caption;
    // 0 for "custom", whose interval is asked for.
    std::int32_t Milliseconds;
};

inline constexpr std::array<IntervalChoice, 8> IntervalChoices = {{
    {"miInterval1", "2 minutes ", 120'000},
    {"miInterval2", "5 minutes", 300'000},
    {"miInterval3", "10 minutes", 600'000},
    {"miInterval4", "15 minutes", 900'000},
    {"miInterval5", "30 minutes", 1'800'000},
    {"miInterval6", "60 minutes", 3'600'000},
    {"miInterval7", "2 hours", 7'200'000},
    {"miInterval8", "custom", 0},
}};
inline constexpr int CustomChoice = 7;

enum class IntervalUnit { Minutes, Hours, Days };

// Automatic scanning: on or off, the interval, and what a tick does. A tick that falls while a
// scan, an add or an import runs starts nothing; the next one comes an interval later, so no scan
// ever starts inside another.
class AutoScanSchedule {
public:
    static constexpr std::int32_t DefaultInterval = 900'000;
    // The longest period the timer and the settings file keep: about 24.8 days.
    static constexpr std::int32_t LongestInterval = std::numeric_limits<std::int32_t>::max();

    // The item a stored interval checks: the fixed item of that interval, else "custom".
    static int ChoiceFor(std::int32_t milliseconds);
    // count units in milliseconds, worked out in 64 bits and cut to the longest interval.
    static std::int32_t CustomInterval(int count, IntervalUnit unit);

    // isBusy tells whether a scan must not start now; startScan starts the timed scan.
    AutoScanSchedule(IntervalTimer& timer, std::function<bool()> isBusy,
                     std::function<void()> startScan);
    ~AutoScanSchedule();
    AutoScanSchedule(const AutoScanSchedule&) = delete;
    AutoScanSchedule& operator=(const AutoScanSchedule&) = delete;

    bool IsOn() const { return timer_.IsActive(); }
    // Switched on, the first tick comes a full interval later. True when it is on now.
    bool Toggle();
    std::int32_t Interval() const { return interval_; }
    // A different interval restarts the count while on; the interval in force changes nothing.
    // It is kept between 1 ms and the longest interval.
    void SetInterval(std::int64_t milliseconds);
    // Ticks that started nothing because other work ran.
    int SkippedTicks() const { return skippedTicks_; }

private:
    void Tick();

    IntervalTimer& timer_;
    std::function<bool()> isBusy_;
    std::function<void()> startScan_;
    std::int32_t interval_ = DefaultInterval;
    int skippedTicks_ = 0;
};

} // namespace zelmox
