#include "HelpCommands.h"

#include "MakerSite.h"
#include "TfrmAbout.h"
#include "TfrmCheckVersion.h"
#include "TfrmMain.h"

#include <QMenu>

namespace zelmox {

namespace {

QString VersionText() {
    return QStringLiteral("%1 / %2").arg(TfrmMain::ProgramDate, TfrmMain::ProgramVersion);
}

} // namespace

HelpCommands::HelpCommands(TfrmMain& window, QMenu* helpMenu)
    : QObject(&window), window_(window),
      frmAbout_(new TfrmAbout(VersionText(), window.Shell(), &window)) {
    frmAbout_->setWindowModality(Qt::ApplicationModal);

    QAction* website = helpMenu->addAction(QStringLiteral("Zelmox Website"), this,
                                           &HelpCommands::ZelmoxWebsite1Click);
    website->setObjectName(QStringLiteral("ZelmoxWebsite1"));
    QAction* check = helpMenu->addAction(QStringLiteral("Check for updates"), this,
                                         &HelpCommands::Checkforupdates1Click);
    check->setObjectName(QStringLiteral("Checkforupdates1"));
    check->setShortcut(Qt::Key_F2);
    helpMenu->addSeparator();
    QAction* about = helpMenu->addAction(QStringLiteral("About"), this, &HelpCommands::About1Click);
    about->setObjectName(QStringLiteral("About1"));
    about->setShortcut(Qt::Key_F3);
}

void HelpCommands::ZelmoxWebsite1Click() {
    window_.Shell().RunProgram(MakerPage(QStringLiteral("/zelmox/")));
}

void HelpCommands::Checkforupdates1Click() {
    auto* check = new TfrmCheckVersion(MakerHost(), QString::fromLatin1(TfrmMain::ProgramDate),
                                       QString::fromLatin1(TfrmMain::ProgramVersion), &window_);
    check->setAttribute(Qt::WA_DeleteOnClose);
    check->setWindowModality(Qt::ApplicationModal);
    check->show();
}

void HelpCommands::About1Click() {
    frmAbout_->show();
}

} // namespace zelmox
