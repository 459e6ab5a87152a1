#include "FileCommands.h"

#include "DataFile.h"
#include "DisplayText.h"
#include "RecentFiles.h"
#include "SectionTabs.h"
#include "StatusPanels.h"
#include "TfrmMain.h"
#include "TrayCommands.h"

#include <QFileInfo>
#include <QMenu>

namespace zelmox {

namespace {

const QString MaximumSectionsMessage =
    QStringLiteral("Sorry, a maximum of 20 sections is allowed!");
const QString SaveCurrentFile = QStringLiteral("Do you want to save the current file?");
const QString SaveChanges = QStringLiteral("Do you want to save your changes?");
const QString ChangedOnDisk =
    QStringLiteral("\"%1\" was changed by another program since it was opened or last saved."
                   "\n\nOverwrite it with this list? (No keeps that file: use Save As to keep "
                   "this list beside it.)");

} // namespace

FileCommands::FileCommands(TfrmMain& window, QMenu* fileMenu) : QObject(&window), window_(window) {
    QAction* exit = fileMenu->actions().value(0);
    auto add = [&](const QString& name, const QString& caption, auto slot) {
        auto* action = new QAction(caption, fileMenu);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        fileMenu->insertAction(exit, action);
        return action;
    };
    add(QStringLiteral("Load1"), QStringLiteral("Open"), &FileCommands::Load1Click);
    add(QStringLiteral("Merge1"), QStringLiteral("Merge"), &FileCommands::Merge1Click)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    add(QStringLiteral("New"), QStringLiteral("Close"), &FileCommands::NewClick);
    fileMenu->insertSeparator(exit);
    add(QStringLiteral("Save1"), QStringLiteral("Save"), &FileCommands::Save1Click)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    add(QStringLiteral("SaveAs1"), QStringLiteral("Save As"), &FileCommands::SaveAs1Click);
    miSetAsDefault_ = add(QStringLiteral("miSetAsDefault"), QStringLiteral("Set As Default"),
                          &FileCommands::miSetAsDefaultClick);
    miSetAsDefault_->setEnabled(false);
    fileMenu->insertSeparator(exit);
    miRecentFiles_ = new QMenu(QStringLiteral("Recent Files"), fileMenu);
    miRecentFiles_->setObjectName(QStringLiteral("miRecentFiles"));
    fileMenu->insertMenu(exit, miRecentFiles_);
    fileMenu->insertSeparator(exit);
}

QString FileCommands::FolderOf(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    return folder.endsWith('/') ? folder : folder + '/';
}

void FileCommands::SetTitleWithFile() {
    window_.setWindowTitle(TfrmMain::PlainTitle() + QStringLiteral("   [") +
                           ShowText(window_.Model().CurrentFileName) + QStringLiteral("]"));
}

QString FileCommands::ChooseDataFile(const QString& title) {
    return window_.Prompts().ChooseOpenFile(title, ShowText(window_.Settings().LastSaveLocation),
                                            QString::fromLatin1(DataFileFilter));
}

// A load stopped by a malformed number leaves no file open, and the title says so.
void FileCommands::ShowTitleAfterLoad() {
    if (window_.Model().CurrentFileName.empty()) {
        window_.setWindowTitle(TfrmMain::PlainTitle());
    } else {
        SetTitleWithFile();
    }
}

bool FileCommands::AskToSave(const QString& question) {
    switch (window_.Prompts().AskYesNoCancel(question)) {
    case UserPrompts::Answer::Yes:
        // A save that did not happen counts as Cancel: the list is not thrown away.
        return Save1Click() == SaveOutcome::Saved;
    case UserPrompts::Answer::No:
        return true;
    default:
        return false;
    }
}

bool FileCommands::LoadDataFile(const QString& path) {
    window_.DisableToolButtons(ToolButtons::ModeBusy);
    const DataFileResult result = LoadData(window_.Model(), StoreText(path));
    if (!result.Opened) {
        window_.EnableToolButtons(ToolButtons::ModeBusy);
        window_.sg1Click();
        window_.Prompts().Error(ShowText(result.Error));
        return false;
    }
    window_.Tabs()->Rebuild();
    window_.Tray().ShowFirstImage();
    for (int i = 0; i < result.SectionsRefused; ++i) {
        window_.Prompts().Information(MaximumSectionsMessage);
    }
    window_.EnableToolButtons(ToolButtons::ModeBusy);
    // The rebuilt grids hold no selection, and the bottom buttons follow that.
    window_.sg1Click();
    if (!result.RecentPath.empty() && AddRecentFile(window_.Settings(), result.RecentPath)) {
        BuildRecentDocsMenu();
    }
    miSetAsDefault_->setEnabled(!window_.Model().CurrentFileName.empty());
    guard_.Remember(window_.Model().CurrentFileName);
    window_.RefreshStatusBar();
    if (!result.Ok) {
        window_.Prompts().Error(ShowText(result.Error));
    }
    // What was read before a malformed number is in the window: it counts as loaded.
    return true;
}

void FileCommands::Load1Click() {
    if (window_.RefuseWhileBusy()) {
        return;
    }
    if (window_.Model().AnythingToSave() && !AskToSave(SaveCurrentFile)) {
        return;
    }
    const QString path = ChooseDataFile(QStringLiteral("Load File"));
    // A timed scan may have started while the questions were open.
    if (path.isEmpty() || window_.RefuseWhileBusy()) {
        return;
    }
    const bool opened = LoadDataFile(path);
    ShowTitleAfterLoad();
    if (opened && window_.Settings().AutoScanAfterLoad) {
        window_.tbScanClick();
    }
    window_.Settings().LastSaveLocation = StoreText(FolderOf(path));
}

void FileCommands::Merge1Click() {
    if (window_.RefuseWhileBusy()) {
        return;
    }
    const QString path = ChooseDataFile(QStringLiteral("Merge File"));
    if (path.isEmpty() || window_.RefuseWhileBusy()) {
        return;
    }
    const DataFileResult result = MergeData(window_.Model(), StoreText(path));
    window_.Tabs()->Rebuild();
    for (int i = 0; i < result.SectionsRefused; ++i) {
        window_.Prompts().Information(MaximumSectionsMessage);
    }
    if (!result.Ok) {
        window_.Prompts().Error(ShowText(result.Error));
    }
    miSetAsDefault_->setEnabled(!window_.Model().CurrentFileName.empty());
    window_.pcMainChange();
    if (result.Opened && window_.Settings().AutoScanAfterLoad) {
        window_.tbScanClick();
    }
}

void FileCommands::NewClick() {
    if (window_.Model().WatchCount() == 0 || window_.RefuseWhileBusy()) {
        return;
    }
    if (!AskToSave(SaveChanges) || window_.RefuseWhileBusy()) {
        return;
    }
    window_.Model().ClearApplication();
    window_.Tabs()->Rebuild();
    window_.Tray().ShowFirstImage();
    window_.pcMainChange();
    window_.setWindowTitle(TfrmMain::PlainTitle());
}

FileCommands::SaveOutcome FileCommands::SaveTo(const QString& path) {
    const std::string file = StoreText(path);
    if (guard_.ChangedSinceRemembered(file) &&
        !window_.Prompts().AskYesNo(ChangedOnDisk.arg(path))) {
        return SaveOutcome::Cancelled;
    }
    DataFileLock saveLock;
    if (!guard_.LockForSave(file, saveLock)) {
        window_.Prompts().Error(ShowText(guard_.Error()));
        return SaveOutcome::Failed;
    }
    window_.DisableToolButtons(ToolButtons::ModeBusy);
    const DataFileResult result = SaveData(window_.Model(), file);
    window_.EnableToolButtons(ToolButtons::ModeBusy);
    if (!result.Ok) {
        window_.Prompts().Error(ShowText(result.Error));
        return SaveOutcome::Failed;
    }
    guard_.Remember(file);
    miSetAsDefault_->setEnabled(true);
    return SaveOutcome::Saved;
}

bool FileCommands::LockForScan() {
    if (guard_.LockForScan(window_.Model().CurrentFileName)) {
        return true;
    }
    window_.ShowNotice(ShowText(guard_.Error()));
    return false;
}

void FileCommands::UnlockAfterScan() {
    guard_.UnlockAfterScan();
}

FileCommands::SaveOutcome FileCommands::Save1Click() {
    const std::string current = window_.Model().CurrentFileName;
    const SaveOutcome outcome = current.empty() ? SaveAs1Click() : SaveTo(ShowText(current));
    SetTitleWithFile();
    return outcome;
}

FileCommands::SaveOutcome FileCommands::SaveAs1Click() {
    const QString path = window_.Prompts().ChooseSaveFile(
        QStringLiteral("Save File"), ShowText(window_.Settings().LastSaveLocation),
        QString::fromLatin1(DataFileFilter), QStringLiteral("zelmox"));
    if (path.isEmpty()) {
        return SaveOutcome::Cancelled;
    }
    const SaveOutcome outcome = SaveTo(path);
    if (outcome == SaveOutcome::Saved) {
        window_.Settings().LastSaveLocation = StoreText(FolderOf(path));
    }
    return outcome;
}

void FileCommands::miSetAsDefaultClick() {
    if (!window_.Model().CurrentFileName.empty()) {
        window_.WindowValues().DefaultFilename = window_.Model().CurrentFileName;
    }
}

void FileCommands::BuildRecentDocsMenu() {
    miRecentFiles_->clear();
    const TSettings& settings = window_.Settings();
    for (int number = 1; number <= settings.RecentlyCount; ++number) {
        const QString path = ShowText(settings.Recent[static_cast<std::size_t>(number - 1)]);
        QAction* item = miRecentFiles_->addAction(path);
        item->setData(number);
        connect(item, &QAction::triggered, this, [this, number] { MenuOpenRecent(number); });
    }
    miRecentFiles_->setEnabled(true);
}

void FileCommands::MenuOpenRecent(int number) {
    if (window_.RefuseWhileBusy()) {
        return;
    }
    if ((window_.Model().AnythingToSave() && !AskToSave(SaveCurrentFile)) ||
        window_.RefuseWhileBusy()) {
        return;
    }
    if (number < 1 || number > TSettings::kRecentSlots) {
        return;
    }
    const QString path = ShowText(window_.Settings().Recent[static_cast<std::size_t>(number - 1)]);
    if (!QFileInfo::exists(path)) {
        window_.Prompts().Warning(QStringLiteral("Cannot find Zelmox file: ") + path);
        return;
    }
    LoadDataFile(path);
    ShowTitleAfterLoad();
}

void FileCommands::SettingsLoaded() {
    if (window_.Settings().RecentlyCount != 0) {
        BuildRecentDocsMenu();
    } else {
        miRecentFiles_->setEnabled(false);
    }
}

bool FileCommands::FormCloseQuery() {
    if (!window_.Settings().AutoSave) {
        return AskToSave(SaveChanges);
    }
    // Saving without a question: a cancelled Save As still lets the window close, but a write that
    // failed keeps it open, with the list, after the error was shown.
    return window_.Model().WatchCount() == 0 || Save1Click() != SaveOutcome::Failed;
}

} // namespace zelmox
