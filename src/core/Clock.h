#pragma once

#include <string>

namespace zelmox {

// Local calendar time, to the second.
struct LocalTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

// Where time stamps come from; tests put a fixed clock in its place.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

// The current local time as YYYY/MM/DD HH:MM.SS.
std::string GetTimeStamp(const Clock& clock);

std::string FormatTimeStamp(const LocalTime& time);

} // namespace zelmox
