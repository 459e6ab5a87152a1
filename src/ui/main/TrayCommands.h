#pragma once

#include "Ports.h"

#include <QObject>
#include <memory>

class QMenu;

namespace zelmox {

class TfrmMain;
struct ToolButtons;

// The tray icon, the program's status light: idle, automatic scanning on, a change found, and the
// radar while a timed scan runs; its hint, its balloon notice and its menu (puToolTray).
class TrayCommands : public QObject {
    Q_OBJECT

public:
    // tray is the port, or null for the desktop's own tray icon. The menu's "start" and "stop"
    // go into buttons, for the busy modes to switch.
    TrayCommands(TfrmMain& window, TrayIcon* tray, ToolButtons& buttons);

    TrayIcon& Icon() { return *tray_; }
    QMenu* Menu() const { return puToolTray_; }

    // Image and hint of automatic scanning switched on or off.
    void ShowAutoScan(bool on);
    // A scan found changes: the change image, and with balloon the notice.
    void ShowChangeNotice(bool balloon);
    // After a clear: the auto-scan image while automatic scanning is on, else the idle one.
    void ShowIdleImage();
    // The idle image whatever the automatic scanning, as emptying the window shows it.
    void ShowFirstImage();

private:
    void BuildMenu(ToolButtons& buttons);

    TfrmMain& window_;
    QMenu* puToolTray_ = nullptr;
    TrayIcon* tray_ = nullptr;
    bool autoScanOn_ = false;
};

} // namespace zelmox
