#pragma once

#include "IntervalTimer.h"

#include <QTimer>

namespace zelmox {

class QtIntervalTimer final : public IntervalTimer {
public:
    QtIntervalTimer();

    void SetTickHandler(std::function<void()> handler) override;
    void Start(std::int32_t milliseconds) override;
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    std::function<void()> handler_;
};

} // namespace zelmox
