#pragma once

#include "Clock.h"
#include "IntervalTimer.h"
#include "Ports.h"

namespace zelmox {

// The outside world handed to the main window. Any port left empty is filled by the window with
// its Qt implementation; tests hand in doubles.
struct MainWindowPorts {
    UserPrompts* Prompts = nullptr;
    SoundPlayer* Sounds = nullptr;
    ShellOpener* Shell = nullptr;
    TrayIcon* Tray = nullptr;
    const Clock* Time = nullptr;
    IntervalTimer* AutoScanTimer = nullptr;
};

} // namespace zelmox
