#include "TfrmMain.h"

#include "DisplayText.h"
#include "FileCommands.h"
#include "HelpCommands.h"
#include "Images.h"
#include "ListCommands.h"
#include "QtPorts.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "SettingsCommands.h"
#include "SettingsFile.h"
#include "StatusPanels.h"
#include "ViewCommands.h"
#include "WatchCommands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>

namespace zelmox {

namespace {

constexpr int BottomBarHeight = 35;
constexpr int BalloonMs = 10'000;

const QString MaximumSectionsMessage =
    QStringLiteral("Sorry, a maximum of 20 sections is allowed!");
const QString ChangeDetected = QStringLiteral("Change Detected!");
const QString BusyRefusal = QStringLiteral(
    "Not while a scan, an add or an import is running: wait for it to end or press Stop.");

std::string ProgramFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder.toStdString();
}

QToolButton* MakeButton(const QString& name, const QString& caption, const QString& hint,
                        const QString& image, Qt::ToolButtonStyle style, QSize minimumSize) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(ButtonImage(image));
    button->setToolButtonStyle(style);
    button->setAutoRaise(true);
    // At least the classic size; wider where the system's font needs room for the caption.
    button->setMinimumSize(minimumSize);
    return button;
}

// A large tool-bar button: the image above its caption.
QToolButton* MakeToolButton(const QString& name, const QString& caption, const QString& hint,
                            const QString& image) {
    QToolButton* button =
        MakeButton(name, caption, hint, image, Qt::ToolButtonTextUnderIcon, QSize(86, 68));
    button->setIconSize(QSize(48, 48));
    return button;
}

// A flat button of the bottom bar: a small image beside its caption.
QToolButton* MakeBottomButton(const QString& name, const QString& caption, const QString& hint,
                              const QString& image) {
    return MakeButton(name, caption, hint, image, Qt::ToolButtonTextBesideIcon, QSize(71, 31));
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

    BuildTrayMenu();
    tray_ = ports.Tray != nullptr ? ports.Tray
                                  : new QtTrayIcon(
                                        puToolTray_, [this] { RestoreFromTray(); }, this);
    tray_->SetHint(QStringLiteral("Zelmox ") + ProgramVersion);
    tray_->SetImage(TrayIcon::Idle);

    viewCommands_ = new ViewCommands(*this, *shell_);
    BuildMenus();
    watchCommands_ = new WatchCommands(*this);
    const auto closeIfWaiting = [this] {
        if (closeWhenIdle_) {
            QTimer::singleShot(0, this, &QWidget::close);
        }
    };
    connect(watchCommands_, &WatchCommands::AddFinished, this, closeIfWaiting);
    connect(listCommands_, &ListCommands::ImportFinished, this, closeIfWaiting);
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
    connect(pcMain_, &SectionTabs::GridClicked, this, &TfrmMain::sg1Click);
    connect(pcMain_, &SectionTabs::GridDoubleClicked, this, &TfrmMain::sg1DblClick);
    connect(pcMain_, &SectionTabs::SortRequested, this, &TfrmMain::SortActiveGrid);
    connect(pcMain_, &SectionTabs::GridMenuRequested, viewCommands_, &ViewCommands::PopUpOpenDoc);
    timerAutoScan_.setInterval(windowValues_.Interval);
    connect(&timerAutoScan_, &QTimer::timeout, this, &TfrmMain::tbScanClick);
    ConnectScanner();
    RefreshStatusBar();
}

TfrmMain::~TfrmMain() {
    // The grids show the sections this window owns: they go first, while the sections exist.
    delete pcMain_;
}

void TfrmMain::BuildMenus() {
    fileMenu_ = menuBar()->addMenu(QStringLiteral("File"));
    fileMenu_->setObjectName(QStringLiteral("File1"));
    QAction* close1 = fileMenu_->addAction(QStringLiteral("Exit"), this, &QWidget::close);
    close1->setObjectName(QStringLiteral("Close1"));
    fileCommands_ = new FileCommands(*this, fileMenu_);
    listCommands_ =
        new ListCommands(*this, fileMenu_, fileCommands_->RecentFilesMenu()->menuAction());
    new SettingsCommands(*this, menuBar());

    QMenu* tools = menuBar()->addMenu(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    QAction* clearAll =
        tools->addAction(QStringLiteral("Clear all"), this, &TfrmMain::miClearAllClick);
    clearAll->setObjectName(QStringLiteral("miClearAll"));
    QAction* clearThisTab = tools->addAction(QStringLiteral("Clear all in the current section"),
                                             this, &TfrmMain::miClearThisTabClick);
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
    buttons_.tbSave = MakeToolButton("tbSave", "Save", "save the current configuration", "save");
    buttons_.tbScan = MakeToolButton(
        "tbScan", "Scan All Tabs",
        "scan the current list of website sites for changes (scans ALL tabs)", "scan-all");
    buttons_.tbScanCurrent =
        MakeToolButton("tbScanCurrent", "Scan Current",
                       "scan only the currently selected section (tab)", "scan-current");
    buttons_.tbAutoScan = MakeToolButton(
        "tbAutoScan", "Auto Scan",
        "automatically scan the current set of websites at a user determined interval",
        "auto-scan");
    buttons_.tbAddWatch =
        MakeToolButton("tbAddWatch", "Add Watch", "add a website link to watch", "add-watch");
    buttons_.tbDeleteWatch =
        MakeToolButton("tbDeleteWatch", "Delete Watch", "delete the currently active website watch",
                       "delete-watch");
    buttons_.tbAddSection =
        MakeToolButton("tbAddSection", "Add Section", "add a new section (tab)", "add-section");
    buttons_.tbDeleteSection = MakeToolButton("tbDeleteSection", "Delete Section",
                                              "delete the current section (tab)", "delete-section");
    buttons_.tbRenameSection =
        MakeToolButton("tbRenameSection", "Rename Section", "rename the currently selected section",
                       "rename-section");
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
    buttons_.tbDeleteSection->setEnabled(false);

    connect(buttons_.tbSave, &QToolButton::clicked, fileCommands_, &FileCommands::Save1Click);
    connect(buttons_.tbAddWatch, &QToolButton::clicked, watchCommands_,
            &WatchCommands::tbAddWatchClick);
    connect(buttons_.tbDeleteWatch, &QToolButton::clicked, watchCommands_,
            &WatchCommands::tbDeleteWatchClick);
    connect(buttons_.tbScan, &QToolButton::clicked, this, &TfrmMain::tbScanClick);
    connect(buttons_.tbScanCurrent, &QToolButton::clicked, this, &TfrmMain::tbScanCurrentClick);
    connect(buttons_.tbAutoScan, &QToolButton::clicked, this, &TfrmMain::tbAutoScanClick);
    connect(buttons_.tbAddSection, &QToolButton::clicked, this, &TfrmMain::tbAddSectionClick);
    connect(buttons_.tbDeleteSection, &QToolButton::clicked, this, &TfrmMain::tbDeleteSectionClick);
    connect(buttons_.tbRenameSection, &QToolButton::clicked, this, &TfrmMain::tbRenameSectionClick);
}

QWidget* TfrmMain::BuildBottomBar() {
    bottomBar_ = new QWidget;
    bottomBar_->setObjectName(QStringLiteral("pBottom"));
    bottomBar_->setFixedHeight(BottomBarHeight);
    auto* layout = new QHBoxLayout(bottomBar_);
    // The Stop button ends flush with the bar's right edge.
    layout->setContentsMargins(2, 2, 0, 2);
    layout->setSpacing(1);
    buttons_.sbCompare =
        MakeBottomButton("sbCompare", "compare",
                         "compare the last two changes for the highlighted 'watch'", "compare");
    buttons_.sbInfo = MakeBottomButton(
        "sbInfo", "info", "show information on the currently selected 'watch'", "info");
    buttons_.sbClear =
        MakeBottomButton("sbClear", "clear", "clear the status of the current selection", "clear");
    buttons_.sbEdit = MakeBottomButton("sbEdit", "edit", "edit the current watch", "edit");
    QToolButton* sbMinimise =
        MakeBottomButton("sbMinimise", "minimize", "minimize Zelmox to the tool tray", "minimise");
    for (QToolButton* button :
         {buttons_.sbCompare, buttons_.sbInfo, buttons_.sbClear, buttons_.sbEdit}) {
        button->setEnabled(false);
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
    connect(buttons_.sbClear, &QToolButton::clicked, this, &TfrmMain::sbClearClick);
    connect(buttons_.sbEdit, &QToolButton::clicked, watchCommands_, &WatchCommands::sbEditClick);
    connect(sbMinimise, &QToolButton::clicked, this, &TfrmMain::sbMinimiseClick);
    connect(sbStop_, &QToolButton::clicked, this, &TfrmMain::SpeedButton1Click);
    return bottomBar_;
}

void TfrmMain::BuildTrayMenu() {
    puToolTray_ = new QMenu(this);
    puToolTray_->setObjectName(QStringLiteral("puToolTray"));
    QAction* title = puToolTray_->addAction(QStringLiteral("Zelmox ") + ProgramVersion);
    title->setEnabled(false);
    puToolTray_->addSeparator();
    QAction* restore =
        puToolTray_->addAction(QStringLiteral("restore"), this, &TfrmMain::RestoreFromTray);
    restore->setObjectName(QStringLiteral("restore1"));
    puToolTray_->addSeparator();
    buttons_.miTTStart =
        puToolTray_->addAction(QStringLiteral("start"), this, &TfrmMain::tbAutoScanClick);
    buttons_.miTTStart->setObjectName(QStringLiteral("miTTStart"));
    buttons_.miTTStop =
        puToolTray_->addAction(QStringLiteral("stop"), this, &TfrmMain::tbAutoScanClick);
    buttons_.miTTStop->setObjectName(QStringLiteral("miTTStop"));
    buttons_.miTTStop->setEnabled(false);
    puToolTray_->addSeparator();
    QAction* clear =
        puToolTray_->addAction(QStringLiteral("clear"), this, &TfrmMain::miClearAllClick);
    clear->setObjectName(QStringLiteral("clear2"));
}

// ---- Lifecycle ------------------------------------------------------------------------------

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Start-up runs once: a return from the tray must not reload the default file over the
    // user's work.
    if (!startupDone_) {
        startupDone_ = true;
        QTimer::singleShot(0, this, &TfrmMain::FormShow);
    }
}

void TfrmMain::FormShow() {
    LoadSettings(paths_, settings_, windowValues_);
    fileCommands_->SettingsLoaded();
    setGeometry(windowValues_.Left, windowValues_.Top, std::max(windowValues_.Width, MinimumWidth),
                std::max(windowValues_.Height, MinimumHeight));
    timerAutoScan_.setInterval(windowValues_.Interval);
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
    if (scanner_.IsRunning() || watchCommands_->IsAdding() || listCommands_->IsImporting()) {
        closeWhenIdle_ = true;
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
    windowValues_.Interval = timerAutoScan_.interval();
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
    if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_->IsAvailable()) {
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

// ---- Sections -------------------------------------------------------------------------------

bool TfrmMain::RefuseWhileBusy() {
    if (!scanner_.IsRunning() && !watchCommands_->IsAdding() && !listCommands_->IsImporting()) {
        return false;
    }
    statusPanels_->SetPanel0(BusyRefusal);
    return true;
}

bool TfrmMain::AddNewTab(const std::string& name) {
    if (model_.AddSection(name) == nullptr) {
        prompts_->Information(MaximumSectionsMessage);
        return false;
    }
    pcMain_->AppendLastSection();
    return true;
}

void TfrmMain::tbAddSectionClick() {
    if (RefuseWhileBusy()) {
        return;
    }
    const QString name =
        prompts_->AskText(QStringLiteral("Section Name"), QStringLiteral("Name"), QString());
    if (!name.isEmpty()) {
        AddNewTab(StoreText(name));
    }
}

void TfrmMain::tbRenameSectionClick() {
    const QString name = prompts_->AskText(QStringLiteral("New name for section"),
                                           QStringLiteral("Name"), QString());
    if (!name.isEmpty()) {
        model_.ActiveSection().Name = StoreText(name);
        pcMain_->RenamePage(pcMain_->currentIndex());
    }
}

void TfrmMain::tbDeleteSectionClick() {
    const int tab = pcMain_->currentIndex();
    if (tab <= 0 || RefuseWhileBusy()) {
        return;
    }
    if (!prompts_->AskYesNo(
            QStringLiteral("Are you sure you REALLY want to delete this section?"))) {
        return;
    }
    model_.DeleteSection(tab);
    pcMain_->RemovePage(tab);
    model_.SetActiveTab(pcMain_->currentIndex());
}

void TfrmMain::pcMainChange() {
    const int tab = pcMain_->currentIndex();
    buttons_.tbDeleteSection->setEnabled(tab > 0);
    SectionGrid* grid = pcMain_->ActiveGrid();
    const Section& section = model_.ActiveSection();
    const int row = grid != nullptr ? grid->SelectedRow() : -1;
    const bool holdsWatch = section.IsValidRow(row) && section.Row(row).HoldsWatch();
    RefreshStatusBar();
    buttons_.sbCompare->setEnabled(holdsWatch);
    buttons_.sbInfo->setEnabled(holdsWatch);
}

void TfrmMain::sg1Click() {
    SectionGrid* grid = pcMain_->ActiveGrid();
    const Section& section = model_.ActiveSection();
    const int row = grid != nullptr ? grid->SelectedRow() : -1;
    const bool holdsWatch = section.IsValidRow(row) && section.Row(row).HoldsWatch();
    const bool manual = holdsWatch && section.Row(row).Object.Watch.Manual == 1;
    buttons_.sbInfo->setEnabled(holdsWatch);
    buttons_.sbCompare->setEnabled(holdsWatch && !manual);
    buttons_.sbClear->setEnabled(holdsWatch);
    buttons_.sbEdit->setEnabled(holdsWatch);
}

void TfrmMain::sg1DblClick() {
    SectionGrid* grid = pcMain_->ActiveGrid();
    Section& section = model_.ActiveSection();
    const int row = grid != nullptr ? grid->SelectedRow() : -1;
    if (!section.IsValidRow(row) || !section.Row(row).HoldsWatch()) {
        return;
    }
    WatchRow& watchRow = section.Row(row);
    // Opening a manual watch counts as checking it; only the cell shows it.
    if (watchRow.Object.Watch.Manual == 1) {
        watchRow.Cells[ColLastCheck] = GetTimeStamp(*clock_);
        grid->Model()->RowChanged(row);
    }
    shell_->RunProgram(ShowText(watchRow.Cells[ColAddress]));
}

void TfrmMain::SortActiveGrid(int tabIndex, int column) {
    SectionGrid* grid = pcMain_->Grid(tabIndex);
    if (grid == nullptr || RefuseWhileBusy()) {
        return;
    }
    const SectionGrid::SortRequest request = grid->NextSort(column);
    model_.Tab(tabIndex).SortRows(request.Column, request.Ascending);
    pcMain_->ReloadRows(tabIndex);
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

void TfrmMain::ShowTrayFirstImage() {
    tray_->SetImage(TrayIcon::Idle);
}

void TfrmMain::SetTrayIdleImage() {
    tray_->SetImage(IsAutoScanOn() ? TrayIcon::AutoScan : TrayIcon::Idle);
}

void TfrmMain::sbClearClick() {
    SectionGrid* grid = pcMain_->ActiveGrid();
    Section& section = model_.ActiveSection();
    const int row = grid != nullptr ? grid->SelectedRow() : -1;
    if (!section.IsValidRow(row)) {
        return;
    }
    WatchRow& watchRow = section.Row(row);
    watchRow.Object.Highlighted = false;
    watchRow.Object.Changed = 0;
    watchRow.Cells[ColSortKey] = "*";
    grid->Model()->RowChanged(row);
    SetTrayIdleImage();
    buttons_.sbClear->setEnabled(false);
    RefreshStatusBar();
}

void TfrmMain::ClearSection(int tab) {
    Section& section = model_.Tab(tab);
    section.ChangeMark = false;
    pcMain_->SetChangeImage(tab, false);
    for (int row = 1; row < section.RowCount(); ++row) {
        section.Row(row).Object.Highlighted = false;
        section.Row(row).Object.Changed = 0;
    }
    pcMain_->AllRowsChanged(tab);
}

void TfrmMain::miClearAllClick() {
    if (!prompts_->AskYesNo(QStringLiteral("Are you sure???"))) {
        return;
    }
    for (int tab = 0; tab < model_.TabCount(); ++tab) {
        ClearSection(tab);
    }
    SetTrayIdleImage();
    buttons_.sbClear->setEnabled(false);
    RefreshStatusBar();
}

void TfrmMain::miClearThisTabClick() {
    ClearSection(pcMain_->currentIndex());
    SetTrayIdleImage();
    buttons_.sbClear->setEnabled(false);
    RefreshStatusBar();
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
    connect(&scanner_, &Scanner::ChangesAnnounced, this, [this] { ShowChangeNotice(false); });
    connect(&scanner_, &Scanner::FinishedSound, this, [this] { PlaySpecialSound(1); });
    connect(&scanner_, &Scanner::StatusBarRefreshNeeded, this, &TfrmMain::RefreshStatusBar);
    connect(&scanner_, &Scanner::ScanFinished, this, &TfrmMain::OnScanFinished);
}

void TfrmMain::tbScanClick() {
    if (!scanner_.IsRunning() && !fileCommands_->LockForScan()) {
        return;
    }
    if (!scanner_.ScanAllTabs()) {
        statusPanels_->SetPanel0(QString::fromLatin1(Scanner::AlreadyRunningMessage));
    }
}

void TfrmMain::tbScanCurrentClick() {
    if (!scanner_.IsRunning() && !fileCommands_->LockForScan()) {
        return;
    }
    if (!scanner_.ScanCurrent()) {
        statusPanels_->SetPanel0(QString::fromLatin1(Scanner::AlreadyRunningMessage));
    }
}

void TfrmMain::SpeedButton1Click() {
    scanner_.Stop();
}

void TfrmMain::ShowChangeNotice(bool alwaysBalloon) {
    tray_->SetImage(TrayIcon::ChangeDetected);
    if (alwaysBalloon || isMinimized() || !isVisible()) {
        tray_->ShowBalloon(ChangeDetected, QString(), BalloonMs);
    }
    buttons_.sbClear->setEnabled(true);
}

void TfrmMain::OnScanFinished() {
    fileCommands_->UnlockAfterScan();
    // The silent start-up scan announces its changes even with the window shown.
    if (silentScanRunning_) {
        silentScanRunning_ = false;
        if (scanner_.TotalChanges() > 0) {
            ShowChangeNotice(true);
        }
    }
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

void TfrmMain::tbAutoScanClick() {
    const QString hint = QStringLiteral("Zelmox ") + ProgramVersion;
    if (IsAutoScanOn()) {
        timerAutoScan_.stop();
        EnableToolButtons(ToolButtons::ModeAutoScan);
        tray_->SetImage(TrayIcon::Idle);
        tray_->SetHint(hint);
    } else {
        timerAutoScan_.start();
        DisableToolButtons(ToolButtons::ModeAutoScan);
        tray_->SetImage(TrayIcon::AutoScan);
        tray_->SetHint(hint + QStringLiteral(" [auto scan on]"));
    }
}

} // namespace zelmox
