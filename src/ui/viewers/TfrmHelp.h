#pragma once

#include <QWidget>

class QComboBox;
class QToolButton;

namespace zelmox {

class HelpBrowser;
class ShellOpener;

// A small browser window for the help pages: close, home, back and forward, and a list that jumps
// to the main pages. Each one lives until the user closes it, whoever opened it.
class TfrmHelp : public QWidget {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 782;
    static constexpr int ClientHeight = 553;
    static constexpr const char* IndexPage = "index.htm";

    explicit TfrmHelp(ShellOpener& shell, QWidget* parent = nullptr);

    // Opens a page of the help folder by its file name.
    void OpenPage(const QString& pageName);
    HelpBrowser* Browser() const { return wbMain_; }

    void tbCloseClick();
    void tbHomeClick();
    void tbBackClick();
    void tbForwardClick();
    void cbNavigateChange(int index);

private:
    void wbMainTitleChange();

    QToolButton* tbBack_;
    QToolButton* tbForward_;
    QComboBox* cbNavigate_;
    HelpBrowser* wbMain_;
};

// Opens a new help window on a page of the help folder (the index when the name is empty) and
// returns without waiting. Opened from a modal dialog, the window can be used while the dialog
// waits for its answer.
TfrmHelp* ShowHelp(const QString& pageName, ShellOpener& shell, QWidget* opener = nullptr);

} // namespace zelmox
