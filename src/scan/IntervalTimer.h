#pragma once

#include <cstdint>
#include <functional>

namespace zelmox {

// A timer that ticks once every period until it is stopped. The program runs a QtIntervalTimer;
// tests put a timer on a clock of their own in its place.
class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;
    // What runs at every tick.
    virtual void SetTickHandler(std::function<void()> handler) = 0;
    // Counts a full period from now, also when it was counting already.
    virtual void Start(std::int32_t milliseconds) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
};

} // namespace zelmox
