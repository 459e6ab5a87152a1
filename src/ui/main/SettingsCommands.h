#pragma once

#include <QObject>

class QMenuBar;

namespace zelmox {

class TfrmMain;

// The Edit menu: the settings dialog.
class SettingsCommands : public QObject {
    Q_OBJECT

public:
    // Adds the Edit menu with "Settings" (F10) to the menu bar.
    SettingsCommands(TfrmMain& window, QMenuBar* menuBar);

    void Settings1Click();
    // True when the dialog was closed with "Save".
    bool ShowSettingsDialog();

private:
    TfrmMain& window_;
};

} // namespace zelmox
