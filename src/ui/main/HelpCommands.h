#pragma once

#include <QObject>

class QMenu;

namespace zelmox {

class TfrmAbout;
class TfrmMain;

// The Help menu's commands that reach the maker: the web page, the update check and the About
// box, which is made once with the window and shown again at every use.
class HelpCommands : public QObject {
    Q_OBJECT

public:
    // Adds the commands to the Help menu.
    HelpCommands(TfrmMain& window, QMenu* helpMenu);

    void ZelmoxWebsite1Click();
    void Checkforupdates1Click();
    void About1Click();

    TfrmAbout* About() const { return frmAbout_; }

private:
    TfrmMain& window_;
    TfrmAbout* frmAbout_;
};

} // namespace zelmox
