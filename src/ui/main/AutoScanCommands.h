#pragma once

#include "AutoScanSchedule.h"

#include <QObject>
#include <array>
#include <memory>

class QAction;
class QMenu;

namespace zelmox {

class TfrmMain;
class TrayCommands;

// Automatic scanning: the "Auto Scan" button and the tray's "start" and "stop", the interval menu
// on the button's arrow (puAutoScan), and the timed scan with its radar and finished sounds.
class AutoScanCommands : public QObject {
    Q_OBJECT

public:
    // timer is the port, or null for a QTimer.
    AutoScanCommands(TfrmMain& window, TrayCommands& tray, IntervalTimer* timer);

    QMenu* IntervalMenu() const { return puAutoScan_; }
    bool IsOn() const { return schedule_.IsOn(); }
    std::int32_t Interval() const { return schedule_.Interval(); }
    // The interval read from the settings file: the timer takes it and its item is checked.
    void SettingsLoaded(std::int32_t interval);

    void tbAutoScanClick();
    // choice: an index of IntervalChoices.
    void SetAutoScanIntervalClick(int choice);
    void timerAutoScanTimer();

private:
    void BuildIntervalMenu();
    void Check(int choice);
    void OnScanFinished();
    void EndTimedScan();

    TfrmMain& window_;
    TrayCommands& tray_;
    std::unique_ptr<IntervalTimer> ownTimer_;
    AutoScanSchedule schedule_;
    QMenu* puAutoScan_ = nullptr;
    std::array<QAction*, IntervalChoices.size()> items_{};
    int checked_ = 0;
    // From the tick until the radar has stopped: no other tick starts a scan meanwhile.
    bool timedScan_ = false;
};

} // namespace zelmox
