#pragma once

#include "Ports.h"

#include <QObject>
#include <string_view>

class QAction;
class QMenu;
class QPoint;

namespace zelmox {

class TfrmLogWindow;
class TfrmMain;
class TfrmWatch;
struct TWatchObject;
struct WatchRow;

// Looking at what the scans recorded: the comparison window, the grids' open-version menu
// (puOpenDoc), the differences view, the information page of a watch, the statistics of the
// sections and the log of the last scan; and the help.
class ViewCommands : public QObject {
    Q_OBJECT

public:
    ViewCommands(TfrmMain& window, ShellOpener& shell);

    QMenu* OpenDocMenu() const { return puOpenDoc_; }
    void PopUpOpenDoc(const QPoint& globalPosition);
    // Tools > "Information" and "Log Window", Help > "Help".
    void AddMenuItems(QMenu& tools, QMenu& help);
    // Opens the help on a page beside the window that asks, as the dialogs' "&Help" buttons do.
    HelpOpener HelpPages() const;

    void sbCompareClick();
    void miOriginalClick();
    void miPreviousClick();
    void miCurrentClick();
    void miLiveClick();
    void miDifferencesClick();
    void sbInfoClick();
    void Information1Click();
    void Info1Click();
    void LogWindow1Click();
    void Help2Click();

private:
    void BuildOpenDocMenu();
    // The top selected row of the active grid, the empty placeholder included.
    const WatchRow* SelectedRow() const;
    // The watch of the top selected row of the active grid, when the row's address is not empty.
    const TWatchObject* SelectedWatch() const;
    void OpenSnapshot(std::string_view suffix);

    TfrmMain& window_;
    ShellOpener& shell_;
    QMenu* puOpenDoc_ = nullptr;
    QAction* miDifferences_ = nullptr;
    QAction* information1_ = nullptr;
    // The statistics window lives as long as the main window.
    TfrmWatch* frmWatch_ = nullptr;
    // So does the log window.
    TfrmLogWindow* frmLogWindow_ = nullptr;
};

} // namespace zelmox
