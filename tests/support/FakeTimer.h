#pragma once

#include "IntervalTimer.h"

namespace zelmox::test {

// An interval timer on a clock that moves only when a test moves it.
class FakeTimer final : public IntervalTimer {
public:
    void SetTickHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    void Start(std::int32_t milliseconds) override {
        period_ = milliseconds;
        sinceTick_ = 0;
        active_ = true;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    std::int32_t Period() const { return period_; }

    // Moves the clock on; every period that ends on the way ticks.
    void Advance(std::int64_t milliseconds) {
        while (active_ && handler_ && sinceTick_ + milliseconds >= period_) {
            milliseconds -= period_ - sinceTick_;
            sinceTick_ = 0;
            handler_();
        }
        sinceTick_ += milliseconds;
    }

private:
    std::function<void()> handler_;
    std::int32_t period_ = 0;
    std::int64_t sinceTick_ = 0;
    bool active_ = false;
};

} // namespace zelmox::test
