#pragma once

#include "Clock.h"

namespace zelmox::test {

// A clock that stands still until a test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalTime time = {2007, 2, 3, 9, 5, 7}) : time_(time) {}

    LocalTime Now() const override { return time_; }
    void Set(LocalTime time) { time_ = time; }

private:
    LocalTime time_;
};

} // namespace zelmox::test
