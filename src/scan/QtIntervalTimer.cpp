#include "QtIntervalTimer.h"

namespace zelmox {

QtIntervalTimer::QtIntervalTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (handler_) {
            handler_();
        }
    });
}

void QtIntervalTimer::SetTickHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

void QtIntervalTimer::Start(std::int32_t milliseconds) {
    timer_.start(milliseconds);
}

} // namespace zelmox
