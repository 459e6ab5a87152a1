#pragma once

#include <QObject>
#include <string_view>

class QAction;
class QMenu;
class QPoint;

namespace zelmox {

class ShellOpener;
class TfrmMain;
struct TWatchObject;

// Looking at the versions of the selected watch: the comparison window, the grids' open-version
// menu (puOpenDoc) and the differences view.
class ViewCommands : public QObject {
    Q_OBJECT

public:
    ViewCommands(TfrmMain& window, ShellOpener& shell);

    QMenu* OpenDocMenu() const { return puOpenDoc_; }
    void PopUpOpenDoc(const QPoint& globalPosition);

    void sbCompareClick();
    void miOriginalClick();
    void miPreviousClick();
    void miCurrentClick();
    void miLiveClick();
    void miDifferencesClick();

private:
    void BuildOpenDocMenu();
    // The watch of the top selected row of the active grid, when the row's address is not empty.
    const TWatchObject* SelectedWatch() const;
    void OpenSnapshot(std::string_view suffix);

    TfrmMain& window_;
    ShellOpener& shell_;
    QMenu* puOpenDoc_ = nullptr;
    QAction* miDifferences_ = nullptr;
};

} // namespace zelmox
