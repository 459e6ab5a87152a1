#pragma once

#include "DataFileGuard.h"

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace zelmox {

class TfrmMain;

// The File menu's data-file commands, the recent-file list, the window title and the question
// asked before a list would be lost.
class FileCommands : public QObject {
    Q_OBJECT

public:
    static constexpr const char* DataFileFilter = "Zelmox Data Files (*.zelmox)";

    // Adds the commands to the File menu.
    FileCommands(TfrmMain& window, QMenu* fileMenu);

    void Load1Click();
    void Merge1Click();
    void NewClick();
    enum class SaveOutcome { Saved, Cancelled, Failed };

    SaveOutcome Save1Click();
    SaveOutcome SaveAs1Click();
    void miSetAsDefaultClick();
    void MenuOpenRecent(int number);
    void BuildRecentDocsMenu();
    // Whether the window may close.
    bool FormCloseQuery();

    // Loads a data file into the window and reports what went wrong; false when it could not be
    // opened (and nothing changed). The title is left to the caller.
    bool LoadDataFile(const QString& path);
    // Right after the settings were read: the recent files, the open and save folder.
    void SettingsLoaded();

    // The open data file's lock for the length of a scan, so that no other Zelmox program scans
    // or saves it meanwhile; false (said in the status bar) when another program holds it.
    bool LockForScan();
    void UnlockAfterScan();

    void SetTitleWithFile();
    QAction* SetAsDefaultItem() const { return miSetAsDefault_; }
    QMenu* RecentFilesMenu() const { return miRecentFiles_; }

private:
    // The save question: false when the command must stop (Cancel, or a save that did not happen).
    bool AskToSave(const QString& question);
    SaveOutcome SaveTo(const QString& path);
    QString ChooseDataFile(const QString& title);
    void ShowTitleAfterLoad();
    static QString FolderOf(const QString& path);

    TfrmMain& window_;
    DataFileGuard guard_;
    QAction* miSetAsDefault_ = nullptr;
    QMenu* miRecentFiles_ = nullptr;
};

} // namespace zelmox
