#include "AutoScanCommands.h"

#include "QtIntervalTimer.h"
#include "TfrmCustomInterval.h"
#include "TfrmMain.h"
#include "ToolButtons.h"
#include "TrayCommands.h"

#include <QActionGroup>
#include <QMenu>

namespace zelmox {

namespace {

IntervalTimer& TimerOrOwn(IntervalTimer* timer, std::unique_ptr<IntervalTimer>& own) {
    if (timer == nullptr) {
        own = std::make_unique<QtIntervalTimer>();
        return *own;
    }
    return *timer;
}

} // namespace

AutoScanCommands::AutoScanCommands(TfrmMain& window, TrayCommands& tray, IntervalTimer* timer)
    : QObject(&window), window_(window), tray_(tray),
      schedule_(
          TimerOrOwn(timer, ownTimer_), [this] { return timedScan_ || window_.IsBusy(); },
          [this] { timerAutoScanTimer(); }) {
    BuildIntervalMenu();
    const ToolButtons& buttons = window.Buttons();
    buttons.tbAutoScan->setMenu(puAutoScan_);
    buttons.tbAutoScan->setPopupMode(QToolButton::MenuButtonPopup);
    connect(buttons.tbAutoScan, &QToolButton::clicked, this, &AutoScanCommands::tbAutoScanClick);
    connect(buttons.miTTStart, &QAction::triggered, this, &AutoScanCommands::tbAutoScanClick);
    connect(buttons.miTTStop, &QAction::triggered, this, &AutoScanCommands::tbAutoScanClick);
    connect(&window.GetScanner(), &Scanner::ScanFinished, this, &AutoScanCommands::OnScanFinished);
}

void AutoScanCommands::BuildIntervalMenu() {
    puAutoScan_ = new QMenu(&window_);
    puAutoScan_->setObjectName(QStringLiteral("puAutoScan"));
    puAutoScan_->addAction(QStringLiteral("autoscan interval"))->setEnabled(false);
    puAutoScan_->addSeparator();
    auto* group = new QActionGroup(puAutoScan_);
    for (int choice = 0; choice < static_cast<int>(IntervalChoices.size()); ++choice) {
        const IntervalChoice& item = IntervalChoices[static_cast<std::size_t>(choice)];
        QAction* action =
            puAutoScan_->addAction(QString::fromLatin1(item.Caption), this,
                                   [this, choice] { SetAutoScanIntervalClick(choice); });
        action->setObjectName(QString::fromLatin1(item.Name));
        action->setCheckable(true);
        group->addAction(action);
        items_[static_cast<std::size_t>(choice)] = action;
    }
    Check(AutoScanSchedule::ChoiceFor(schedule_.Interval()));
}

void AutoScanCommands::Check(int choice) {
    checked_ = choice;
    items_[static_cast<std::size_t>(choice)]->setChecked(true);
}

void AutoScanCommands::SettingsLoaded(std::int32_t interval) {
    schedule_.SetInterval(interval);
    Check(AutoScanSchedule::ChoiceFor(schedule_.Interval()));
}

void AutoScanCommands::tbAutoScanClick() {
    const bool on = schedule_.Toggle();
    if (on) {
        window_.DisableToolButtons(ToolButtons::ModeAutoScan);
    } else {
        window_.EnableToolButtons(ToolButtons::ModeAutoScan);
    }
    tray_.ShowAutoScan(on);
}

void AutoScanCommands::SetAutoScanIntervalClick(int choice) {
    std::int64_t interval = IntervalChoices[static_cast<std::size_t>(choice)].Milliseconds;
    if (choice == CustomChoice) {
        const std::optional<std::int32_t> asked = ExecuteCustomInterval(&window_);
        if (!asked) {
            // The menu checked "custom" when it was chosen; Cancel changes nothing.
            Check(checked_);
            return;
        }
        interval = *asked;
    }
    Check(choice);
    schedule_.SetInterval(interval);
}

void AutoScanCommands::timerAutoScanTimer() {
    timedScan_ = true;
    tray_.Icon().SetRadar(true);
    window_.tbScanClick();
    // A scan refused (the data file locked by another program) ends at once, without sounds.
    if (!window_.GetScanner().IsRunning()) {
        tray_.Icon().SetRadar(false);
        timedScan_ = false;
    }
}

void AutoScanCommands::OnScanFinished() {
    if (timedScan_) {
        EndTimedScan();
    }
}

// The scan played the finished sound once; a timed scan plays it again. The tray then shows
// automatic scanning, over a change image the scan may have set.
void AutoScanCommands::EndTimedScan() {
    window_.PlaySpecialSound(1);
    tray_.Icon().SetRadar(false);
    tray_.ShowIdleImage();
    timedScan_ = false;
}

} // namespace zelmox
