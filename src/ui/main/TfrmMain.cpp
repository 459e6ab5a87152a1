#include "TfrmMain.h"

#include "AutoScanCommands.h"
#include "ClearCommands.h"
#include "DisplayText.h"
#include "FileCommands.h"
#include "HelpCommands.h"
#include "Images.h"
#include "ListCommands.h"
#include "QtPorts.h"
#include "SectionCommands.h"
#include "SectionGrid.h"
#include "SectionTabs.h"
#include "SettingsCommands.h"
#include "SettingsFile.h"
#include "StatusPanels.h"
#include "TrayCommands.h"
#include "ViewCommands.h"
#include "WatchCommands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusTipEvent>
#include <QToolBar>

namespace zelmox {

namespace {

constexpr int BottomBarHeight = 35;
const QString BusyRefusal = QStringLiteral(
    "Not while a scan, an add or an import is running: wait for it to end or press Stop.");
const QString ClosingAfterScan = QStringLiteral("Stopping the scan: Zelmox closes when it ends.");
const QString ClosingAfterAdd =
    QStringLiteral("Zelmox closes when the check of the new watch has ended.");
const QString ClosingAfterImport = QStringLiteral("Zelmox closes when the import has ended.");

std::string ProgramFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder.toStdString();
}

} // namespace

StartupOptions StartupOptions::FromArguments(const QStringList& arguments) {
    StartupOptions options;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("silentscan")) {
            options.SilentScan = true;
        }
    }
    return options;
}

QString TfrmMain::PlainTitle() {
    return QStringLiteral("Zelmox ") + ProgramVersion + QStringLiteral(" / ") + ProgramDate;
}

TfrmMain::TfrmMain(StartupOptions options, SettingsPaths paths, MainWindowPorts ports,
                   QWidget* parent)
    : QMainWindow(parent), options_(options), paths_(std::move(paths)),
      settings_(DefaultSettings(paths_)), programPath_(ProgramFolder()),
      clock_(ports.Time != nullptr ? ports.Time : &systemClock_),
      scanner_(model_, mainClient_, *clock_, log_, [this] { return SnapshotFolder(); }) {
    InitialiseImages();
    if (ports.Prompts == nullptr) {
        ownPrompts_ = std::make_unique<QtUserPrompts>(this);
    }
    if (ports.Sounds == nullptr) {
        ownSounds_ = std::make_unique<QtSoundPlayer>();
    }
    if (ports.Shell == nullptr) {
        ownShell_ = std::make_unique<QtShellOpener>();
    }
    prompts_ = ports.Prompts != nullptr ? ports.Prompts : ownPrompts_.get();
    sounds_ = ports.Sounds != nullptr ? ports.Sounds : ownSounds_.get();
    shell_ = ports.Shell != nullptr ? ports.Shell : ownShell_.get();

    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(PlainTitle());
    setWindowIcon(ProgramImage());
    setMinimumSize(MinimumWidth, MinimumHeight);

    clearCommands_ = new ClearCommands(*this);
    trayCommands_ = new TrayCommands(*this, ports.Tray, buttons_);

    viewCommands_ = new ViewCommands(*this, *shell_);
    BuildMenus();
    buttons_.Create();
    watchCommands_ = new WatchCommands(*this);
    sectionCommands_ = new SectionCommands(*this);
    connect(listCommands_, &ListCommands::ImportFinished, this, &TfrmMain::CloseIfWaiting);
    BuildToolBar();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pcMain_ = new SectionTabs(model_, settings_, central);
    layout->addWidget(pcMain_, 1);
    layout->addWidget(BuildBottomBar());
    setCentralWidget(central);
    statusPanels_ = new StatusPanels(this);
    setStatusBar(statusPanels_);

    connect(pcMain_, &QTabWidget::currentChanged, this, [this](int index) {
        model_.SetActiveTab(index);
        pcMainChange();
    });
    connect(pcMain_, &SectionTabs::SelectionChanged, this, &TfrmMain::sg1Click);
    connect(pcMain_, &SectionTabs::GridDoubleClicked, sectionCommands_,
            &SectionCommands::sg1DblClick);
    connect(pcMain_, &SectionTabs::SortRequested, sectionCommands_,
            &SectionCommands::SortActiveGrid);
    connect(pcMain_, &SectionTabs::GridMenuRequested, viewCommands_, &ViewCommands::PopUpOpenDoc);
    // The Delete key on a grid is the "Delete Watch" button; while that is off for a scan, an add
    // or an import, the key is answered as a click on a refused command would be.
    connect(pcMain_, &SectionTabs::DeleteKeyPressed, this, [this] {
        if (buttons_.tbDeleteWatch->isEnabled()) {
            buttons_.tbDeleteWatch->click();
        } else {
            RefuseWhileBusy();
        }
    });
    ConnectScanner();
    // After the window's own handlers of a scan's end: the data file is free again before a timed
    // scan plays its second sound.
    autoScanCommands_ = new AutoScanCommands(*this, *trayCommands_, ports.AutoScanTimer);
    ConnectWatchCommands();
    RefreshStatusBar();
}

TfrmMain::~TfrmMain() {
    // The grids show the sections this window owns: they go first, while the sections exist.
    delete pcMain_;
}

void TfrmMain::BuildMenus() {
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("File1"));
    QAction* close1 = fileMenu_->addAction(QStringLiteral("Exit"), this, &QWidget::close);
    close1->setObjectName(QStringLiteral("Close1"));
    fileCommands_ = new FileCommands(*this, fileMenu_);
    listCommands_ =
        new ListCommands(*this, fileMenu_, fileCommands_->RecentFilesMenu()->menuAction());
    new SettingsCommands(*this, menuBar());

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    QAction* clearAll = tools->addAction(QStringLiteral("Clear all"), clearCommands_,
                                         &ClearCommands::miClearAllClick);
    clearAll->setObjectName(QStringLiteral("miClearAll"));
    QAction* clearThisTab = tools->addAction(QStringLiteral("Clear all in the current section"),
                                             clearCommands_, &ClearCommands::miClearThisTabClick);
    clearThisTab->setObjectName(QStringLiteral("miClearThisTab"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    viewCommands_->AddMenuItems(*tools, *help);
    helpCommands_ = new HelpCommands(*this, help);
}

void TfrmMain::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(48, 48));
    bar->addWidget(buttons_.tbSave);
    bar->addSeparator();
    bar->addWidget(buttons_.tbScan);
    bar->addWidget(buttons_.tbScanCurrent);
    bar->addWidget(buttons_.tbAutoScan);
    bar->addSeparator();
    bar->addWidget(buttons_.tbAddWatch);
    bar->addWidget(buttons_.tbDeleteWatch);
    bar->addSeparator();
    bar->addWidget(buttons_.tbAddSection);
    bar->addWidget(buttons_.tbDeleteSection);
    bar->addWidget(buttons_.tbRenameSection);

    connect(buttons_.tbSave, &QToolButton::clicked, fileCommands_, &FileCommands::Save1Click);
    connect(buttons_.tbAddWatch, &QToolButton::clicked, watchCommands_,
            &WatchCommands::tbAddWatchClick);
    connect(buttons_.tbDeleteWatch, &QToolButton::clicked, watchCommands_,
            &WatchCommands::tbDeleteWatchClick);
    connect(buttons_.tbScan, &QToolButton::clicked, this, &TfrmMain::tbScanClick);
    connect(buttons_.tbScanCurrent, &QToolButton::clicked, this, &TfrmMain::tbScanCurrentClick);
    connect(buttons_.tbAddSection, &QToolButton::clicked, sectionCommands_,
            &SectionCommands::tbAddSectionClick);
    connect(buttons_.tbDeleteSection, &QToolButton::clicked, sectionCommands_,
            &SectionCommands::tbDeleteSectionClick);
    connect(buttons_.tbRenameSection, &QToolButton::clicked, sectionCommands_,
            &SectionCommands::tbRenameSectionClick);
}

QWidget* TfrmMain::BuildBottomBar() {
    bottomBar_ = new QWidget;
    bottomBar_->setObjectName(QStringLiteral("pBottom"));
    bottomBar_->setFixedHeight(BottomBarHeight);
    auto* layout = new QHBoxLayout(bottomBar_);
    // The Stop button ends flush with the bar's right edge.
    layout->setContentsMargins(2, 2, 0, 2);
    layout->setSpacing(1);
    QToolButton* sbMinimise =
        MakeBottomButton("sbMinimise", "minimize", "minimize Zelmox to the tool tray", "minimise");
    for (QToolButton* button :
         {buttons_.sbCompare, buttons_.sbInfo, buttons_.sbClear, buttons_.sbEdit}) {
        layout->addWidget(button);
    }
    layout->addWidget(sbMinimise);
    layout->addSpacing(46);
    pbMain_ = new QProgressBar;
    pbMain_->setObjectName(QStringLiteral("pbMain"));
    pbMain_->setMinimumWidth(320);
    pbMain_->setFixedHeight(17);
    pbMain_->setTextVisible(false);
    layout->addWidget(pbMain_, 1);
    pbMain_->hide();
    layout->addStretch();
    sbStop_ = MakeBottomButton("sbStop", "Stop", "stop the current scan", "stop");
    sbStop_->setMinimumSize(79, 31);
    sbStop_->setEnabled(false);
    layout->addWidget(sbStop_);

    connect(buttons_.sbCompare, &QToolButton::clicked, viewCommands_,
            &ViewCommands::sbCompareClick);
    connect(buttons_.sbInfo, &QToolButton::clicked, viewCommands_, &ViewCommands::sbInfoClick);
    connect(buttons_.sbClear, &QToolButton::clicked, clearCommands_, &ClearCommands::sbClearClick);
    connect(buttons_.sbEdit, &QToolButton::clicked, watchCommands_, &WatchCommands::sbEditClick);
    connect(sbMinimise, &QToolButton::clicked, this, &TfrmMain::sbMinimiseClick);
    connect(sbStop_, &QToolButton::clicked, this, &TfrmMain::SpeedButton1Click);
    return bottomBar_;
}

// ---- Lifecycle ------------------------------------------------------------------------------

bool TfrmMain::event(QEvent* event) {
    // Hints go through the status panels, which keep a notice in view over them.
    if (event->type() == QEvent::StatusTip) {
        statusPanels_->ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Start-up runs once: a return from the tray must not reload the default file over the
    // user's work.
    if (!startupDone_) {
        startupDone_ = true;
        ApplyStoredBounds();
        QTimer::singleShot(0, this, &TfrmMain::FormShow);
    }
}

// Runs before the first show reaches the screen. The stored bounds are set while the window is
// still in its normal state, and only then is it minimised for "silentscan": bounds set on a
// minimised window are not kept, and it would come back from the tray at its smallest.
void TfrmMain::ApplyStoredBounds() {
    LoadSettings(paths_, settings_, windowValues_);
    setGeometry(windowValues_.Left, windowValues_.Top, std::max(windowValues_.Width, MinimumWidth),
                std::max(windowValues_.Height, MinimumHeight));
    if (options_.SilentScan) {
        setWindowState(Qt::WindowMinimized);
    }
}

void TfrmMain::FormShow() {
    fileCommands_->SettingsLoaded();
    autoScanCommands_->SettingsLoaded(windowValues_.Interval);
    ApplyConnectionSettings(mainClient_, settings_);
    if (!windowValues_.DefaultFilename.empty()) {
        const QString path = QString::fromStdString(windowValues_.DefaultFilename);
        if (QFileInfo::exists(path)) {
            if (fileCommands_->LoadDataFile(path) && settings_.AutoScanAfterLoad) {
                ++startupScansPending_;
            }
        } else {
            prompts_->Error(QStringLiteral("Cannot find Zelmox file \"") + path +
                            QStringLiteral("\"."));
            windowValues_.DefaultFilename.clear();
        }
    }
    if (options_.SilentScan) {
        ++startupScansPending_;
    }
    RunStartupScans();
}

void TfrmMain::RunStartupScans() {
    if (startupScansPending_ == 0 || scanner_.IsRunning()) {
        return;
    }
    --startupScansPending_;
    // The last start-up scan is the silent one when "silentscan" was given.
    silentScanRunning_ = options_.SilentScan && startupScansPending_ == 0;
    tbScanClick();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Exit stops a scan first, or lets an add's first fetch or an import end, and closes after
    // that.
    if (IsBusy()) {
        closeWhenIdle_ = true;
        ShowNotice(scanner_.IsRunning()           ? ClosingAfterScan
                   : listCommands_->IsImporting() ? ClosingAfterImport
                                                  : ClosingAfterAdd);
        scanner_.Stop();
        event->ignore();
        return;
    }
    closeWhenIdle_ = false;
    if (!fileCommands_->FormCloseQuery()) {
        event->ignore();
        return;
    }
    const QRect bounds = normalGeometry();
    windowValues_.Left = bounds.left();
    windowValues_.Top = bounds.top();
    windowValues_.Width = bounds.width();
    windowValues_.Height = bounds.height();
    windowValues_.Interval = autoScanCommands_->Interval();
    const SettingsResult saved = SaveSettings(paths_, settings_, windowValues_);
    if (!saved.ok) {
        prompts_->Error(QString::fromStdString(saved.error));
    }
    event->accept();
    emit Closed();
}

void TfrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Minimised by any means, the window goes to the tray, where there is one.
    if (event->type() == QEvent::WindowStateChange && isMinimized() &&
        trayCommands_->Icon().IsAvailable()) {
        QTimer::singleShot(0, this, &QWidget::hide);
    }
}

void TfrmMain::sbMinimiseClick() {
    showMinimized();
}

void TfrmMain::RestoreFromTray() {
    showNormal();
    raise();
    activateWindow();
}

// ---- Folders ------------------------------------------------------------------------------

std::string TfrmMain::SnapshotFolder() {
    EnsureDefaultFolder(paths_, settings_.CCF);
    return settings_.CCF;
}

// ---- Sections and selection -----------------------------------------------------------------

bool TfrmMain::IsBusy() const {
    return scanner_.IsRunning() || watchCommands_->IsAdding() || listCommands_->IsImporting();
}

bool TfrmMain::RefuseWhileBusy() {
    if (!IsBusy()) {
        return false;
    }
    ShowNotice(BusyRefusal);
    return true;
}

void TfrmMain::ShowNotice(const QString& text) {
    statusPanels_->ShowNotice(text);
}

void TfrmMain::pcMainChange() {
    // Like the other commands that reshape sections, deleting one waits while busy.
    buttons_.tbDeleteSection->setEnabled(pcMain_->currentIndex() > 0 && !IsBusy());
    RefreshStatusBar();
    sg1Click();
}

void TfrmMain::sg1Click() {
    const Section& section = model_.ActiveSection();
    const int row = pcMain_->SelectedRow();
    const bool holdsWatch = section.IsValidRow(row) && section.Row(row).HoldsWatch();
    const bool manual = holdsWatch && section.Row(row).Object.Watch.Manual == 1;
    buttons_.sbInfo->setEnabled(holdsWatch);
    buttons_.sbCompare->setEnabled(holdsWatch && !manual);
    buttons_.sbClear->setEnabled(holdsWatch);
    // An edit would be refused while a scan, an add or an import runs, so it waits greyed out.
    buttons_.sbEdit->setEnabled(holdsWatch && !IsBusy());
}

// ---- Status and clearing --------------------------------------------------------------------

void TfrmMain::RefreshStatusBar() {
    statusPanels_->RefreshStatusBar(model_);
}

void TfrmMain::DisableToolButtons(int mode) {
    buttons_.DisableToolButtons(mode);
}

void TfrmMain::EnableToolButtons(int mode) {
    buttons_.EnableToolButtons(mode, pcMain_->currentIndex() == 0);
}

// ---- Scans ----------------------------------------------------------------------------------

void TfrmMain::ConnectScanner() {
    connect(&scanner_, &Scanner::BusyChanged, this, [this](bool busy) {
        busy ? DisableToolButtons(ToolButtons::ModeBusy) : EnableToolButtons(ToolButtons::ModeBusy);
    });
    connect(&scanner_, &Scanner::StatusTextChanged, statusPanels_, &StatusPanels::SetPanel0);
    connect(&scanner_, &Scanner::ProgressStarted, this, [this](int minimum, int maximum) {
        pbMain_->setRange(minimum, maximum);
        pbMain_->setValue(minimum);
        pbMain_->show();
    });
    connect(&scanner_, &Scanner::ProgressStepped, this,
            [this] { pbMain_->setValue(std::min(pbMain_->value() + 1, pbMain_->maximum())); });
    connect(&scanner_, &Scanner::ProgressFinished, pbMain_, &QWidget::hide);
    connect(&scanner_, &Scanner::StopEnabledChanged, sbStop_, &QWidget::setEnabled);
    connect(&scanner_, &Scanner::RowUpdated, pcMain_, &SectionTabs::RowChanged);
    connect(&scanner_, &Scanner::TabImageChanged, pcMain_, &SectionTabs::SetChangeImage);
    connect(&scanner_, &Scanner::NotifySound, this, &TfrmMain::PlayNotifySound);
    // The silent start-up scan announces its changes even with the window shown, once.
    connect(&scanner_, &Scanner::ChangesAnnounced, this, [this] {
        trayCommands_->ShowChangeNotice(silentScanRunning_ || isMinimized() || !isVisible());
        buttons_.sbClear->setEnabled(true);
    });
    connect(&scanner_, &Scanner::FinishedSound, this, [this] { PlaySpecialSound(1); });
    connect(&scanner_, &Scanner::StatusBarRefreshNeeded, this, &TfrmMain::RefreshStatusBar);
    connect(&scanner_, &Scanner::ScanFinished, this, &TfrmMain::OnScanFinished);
}

// An add's first fetch of a slow page would otherwise leave every button grey without a word.
void TfrmMain::ConnectWatchCommands() {
    connect(watchCommands_, &WatchCommands::AddStarted, this, [this](const QString& address) {
        statusPanels_->SetPanel0(QStringLiteral("Checking ") + address + QStringLiteral("..."));
        pbMain_->setRange(0, 0);
        pbMain_->show();
    });
    connect(watchCommands_, &WatchCommands::AddFinished, this, [this] {
        // An automatic scan may have started meanwhile; its progress stays.
        if (!scanner_.IsRunning()) {
            pbMain_->hide();
            statusPanels_->SetPanel0(QString());
        }
        CloseIfWaiting();
    });
}

void TfrmMain::CloseIfWaiting() {
    if (closeWhenIdle_) {
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

bool TfrmMain::MayStartScan() {
    // A running scan refuses the new one itself. An add or an import changes the rows a scan
    // walks, so a scan asked for meanwhile (by a second start, say) waits for them as the commands
    // that reshape sections do.
    return scanner_.IsRunning() || (!RefuseWhileBusy() && fileCommands_->LockForScan());
}

void TfrmMain::tbScanClick() {
    if (!MayStartScan()) {
        return;
    }
    if (!scanner_.ScanAllTabs()) {
        ShowNotice(QString::fromLatin1(Scanner::AlreadyRunningMessage));
    }
}

void TfrmMain::tbScanCurrentClick() {
    if (!MayStartScan()) {
        return;
    }
    if (!scanner_.ScanCurrent()) {
        ShowNotice(QString::fromLatin1(Scanner::AlreadyRunningMessage));
    }
}

void TfrmMain::SpeedButton1Click() {
    scanner_.Stop();
}

void TfrmMain::OnScanFinished() {
    fileCommands_->UnlockAfterScan();
    // The silent start-up scan announces its changes even with the window shown.
    silentScanRunning_ = false;
    if (closeWhenIdle_) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    RunStartupScans();
}

void TfrmMain::PlayNotifySound(int scanType) {
    if (settings_.PlayNotifySounds && scanType >= 0 && scanType < TSettings::kSoundCount) {
        sounds_->Play(QString::fromStdString(settings_.Sound[static_cast<std::size_t>(scanType)]));
    }
}

void TfrmMain::PlaySpecialSound(int which) {
    if (which == 1 && settings_.PlayNotifySounds) {
        sounds_->Play(QString::fromStdString(settings_.SoundFinished));
    }
}

} // namespace zelmox
