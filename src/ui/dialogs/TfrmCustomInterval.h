#pragma once

#include "AutoScanSchedule.h"

#include <QDialog>
#include <cstdint>
#include <optional>

class QComboBox;
class QSpinBox;

namespace zelmox {

// Asks for an automatic-scan interval of its own: a number from 1 to 999 and a unit. Made anew
// for every question, so it always opens at 1 Minutes.
class TfrmCustomInterval : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 193;
    static constexpr int ClientHeight = 105;

    explicit TfrmCustomInterval(QWidget* parent = nullptr);

    int Count() const;
    IntervalUnit Unit() const;

private:
    QSpinBox* seInterval_;
    QComboBox* cbIntervalType_;
};

// Shows the dialog; the interval in milliseconds, cut to the longest the timer keeps, or nothing
// when it was cancelled.
std::optional<std::int32_t> ExecuteCustomInterval(QWidget* parent);

} // namespace zelmox
