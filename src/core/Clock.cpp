#include "Clock.h"

#include <cstdio>
#include <ctime>

namespace zelmox {

LocalTime SystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string FormatTimeStamp(const LocalTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d.%02d", time.Year, time.Month, time.Day,
                  time.Hour, time.Minute, time.Second);
    return text;
}

std::string GetTimeStamp(const Clock& clock) {
    return FormatTimeStamp(clock.Now());
}

} // namespace zelmox
