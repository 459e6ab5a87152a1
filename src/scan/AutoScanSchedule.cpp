#include "AutoScanSchedule.h"

#include <algorithm>

namespace zelmox {

namespace {

constexpr std::int64_t MillisecondsPer(IntervalUnit unit) {
    switch (unit) {
    case IntervalUnit::Hours:
        return 3'600'000;
    case IntervalUnit::Days:
        return 86'400'000;
    default:
        return 60'000;
    }
}

std::int32_t Limited(std::int64_t milliseconds) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(milliseconds, 1, AutoScanSchedule::LongestInterval));
}

} // namespace

int AutoScanSchedule::ChoiceFor(std::int32_t milliseconds) {
    for (int choice = 0; choice < CustomChoice; ++choice) {
        if (IntervalChoices[static_cast<std::size_t>(choice)].Milliseconds == milliseconds) {
            return choice;
        }
    }
    return CustomChoice;
}

std::int32_t AutoScanSchedule::CustomInterval(int count, IntervalUnit unit) {
    return Limited(static_cast<std::int64_t>(count) * MillisecondsPer(unit));
}

AutoScanSchedule::AutoScanSchedule(IntervalTimer& timer, std::function<bool()> isBusy,
                                   std::function<void()> startScan)
    : timer_(timer), isBusy_(std::move(isBusy)), startScan_(std::move(startScan)) {
    timer_.SetTickHandler([this] { Tick(); });
}

AutoScanSchedule::~AutoScanSchedule() {
    timer_.Stop();
    timer_.SetTickHandler({});
}

bool AutoScanSchedule::Toggle() {
    if (timer_.IsActive()) {
        timer_.Stop();
        return false;
    }
    timer_.Start(interval_);
    return true;
}

void AutoScanSchedule::SetInterval(std::int64_t milliseconds) {
    const std::int32_t interval = Limited(milliseconds);
    if (interval == interval_) {
        return;
    }
    interval_ = interval;
    if (timer_.IsActive()) {
        timer_.Start(interval_);
    }
}

void AutoScanSchedule::Tick() {
    if (isBusy_()) {
        ++skippedTicks_;
        return;
    }
    startScan_();
}

} // namespace zelmox
