#pragma once

#include "HttpClient.h"
#include "MainWindowPorts.h"
#include "ScanLog.h"
#include "Scanner.h"
#include "SectionModel.h"
#include "Settings.h"
#include "SettingsPaths.h"
#include "ToolButtons.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QMenu;
class QProgressBar;

namespace zelmox {

class AutoScanCommands;
class ClearCommands;
class FileCommands;
class HelpCommands;
class ListCommands;
class SectionCommands;
class SectionTabs;
class StatusPanels;
class TrayCommands;
class ViewCommands;
class WatchCommands;

// What the command line asks of the program.
struct StartupOptions {
    bool SilentScan = false;

    // "silentscan" as a whole argument, exactly, in any position.
    static StartupOptions FromArguments(const QStringList& arguments);
};

// The main window: sections and grids, the tool and bottom bars, the status bar, the tray icon and
// the scans started from them. It owns the settings record and the program folder, and hands them
// to what needs them.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* ProgramVersion = "v2.2";
    static constexpr const char* ProgramDate = "February 3rd 2007";
    static constexpr int MinimumWidth = 890;
    static constexpr int MinimumHeight = 300;

    TfrmMain(StartupOptions options, SettingsPaths paths, MainWindowPorts ports = {},
             QWidget* parent = nullptr);
    ~TfrmMain() override;

    SectionModel& Model() { return model_; }
    TSettings& Settings() { return settings_; }
    MainWindowValues& WindowValues() { return windowValues_; }
    const ScanLog& Log() const { return log_; }
    Scanner& GetScanner() { return scanner_; }
    HttpClient& MainClient() { return mainClient_; }
    SectionTabs* Tabs() const { return pcMain_; }
    StatusPanels* Status() const { return statusPanels_; }
    const ToolButtons& Buttons() const { return buttons_; }

    static QString PlainTitle();

    // Commands of the tool bar, the bottom bar and the menus.
    void tbScanClick();
    void tbScanCurrentClick();
    void SpeedButton1Click();
    void sbMinimiseClick();
    void RestoreFromTray();
    void pcMainChange();
    // The watch buttons follow the selected row; every change of the selection runs this.
    void sg1Click();

    void RefreshStatusBar();
    void DisableToolButtons(int mode);
    void EnableToolButtons(int mode);

    // A scan, an add's first fetch or an import runs.
    bool IsBusy() const;
    // A command that would add, remove or reorder rows or sections is refused while busy, with a
    // notice in the status bar.
    bool RefuseWhileBusy();
    // A word in the status bar that hover hints do not hide.
    void ShowNotice(const QString& text);
    // The scan-finished sound when which is 1.
    void PlaySpecialSound(int which);

    UserPrompts& Prompts() { return *prompts_; }
    ShellOpener& Shell() { return *shell_; }
    SoundPlayer& Sounds() { return *sounds_; }
    const SettingsPaths& Paths() const { return paths_; }
    QProgressBar* ProgressBar() const { return pbMain_; }
    const Clock& Time() const { return *clock_; }
    // The snapshot folder in use; the per-user default is created when missing.
    std::string SnapshotFolder();
    FileCommands& Files() { return *fileCommands_; }
    WatchCommands& Watches() { return *watchCommands_; }
    ListCommands& Lists() { return *listCommands_; }
    ViewCommands& Views() { return *viewCommands_; }
    HelpCommands& Help() { return *helpCommands_; }
    SectionCommands& Sections() { return *sectionCommands_; }
    ClearCommands& Clears() { return *clearCommands_; }
    TrayCommands& Tray() { return *trayCommands_; }
    AutoScanCommands& AutoScan() { return *autoScanCommands_; }

signals:
    // The window closed for good (the close was allowed and the settings were stored).
    void Closed();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    QWidget* BuildBottomBar();
    void ConnectScanner();
    void ConnectWatchCommands();
    // Whether a scan may be asked of the scanner now; says why not when it may not.
    bool MayStartScan();
    // Exit waited for a scan, an add or an import: the window closes now that it ended.
    void CloseIfWaiting();
    void ApplyStoredBounds();
    void FormShow();
    void RunStartupScans();
    void OnScanFinished();
    void PlayNotifySound(int scanType);

    StartupOptions options_;
    SettingsPaths paths_;
    TSettings settings_;
    MainWindowValues windowValues_;
    std::string programPath_;
    SectionModel model_;
    ScanLog log_;

    std::unique_ptr<UserPrompts> ownPrompts_;
    std::unique_ptr<SoundPlayer> ownSounds_;
    std::unique_ptr<ShellOpener> ownShell_;
    UserPrompts* prompts_;
    SoundPlayer* sounds_;
    ShellOpener* shell_;
    SystemClock systemClock_;
    const Clock* clock_;

    HttpClient mainClient_;
    Scanner scanner_;

    ToolButtons buttons_;
    SectionTabs* pcMain_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    QProgressBar* pbMain_ = nullptr;
    QToolButton* sbStop_ = nullptr;
    QWidget* bottomBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    FileCommands* fileCommands_ = nullptr;
    ListCommands* listCommands_ = nullptr;
    WatchCommands* watchCommands_ = nullptr;
    ViewCommands* viewCommands_ = nullptr;
    HelpCommands* helpCommands_ = nullptr;
    SectionCommands* sectionCommands_ = nullptr;
    ClearCommands* clearCommands_ = nullptr;
    TrayCommands* trayCommands_ = nullptr;
    AutoScanCommands* autoScanCommands_ = nullptr;

    bool startupDone_ = false;
    // Exit waits for a running scan, add or import to end.
    bool closeWhenIdle_ = false;
    // Scans asked for at start-up (after loading, then the silent scan) run one after another.
    int startupScansPending_ = 0;
    bool silentScanRunning_ = false;
};

} // namespace zelmox
