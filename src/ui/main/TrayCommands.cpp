#include "TrayCommands.h"

#include "ClearCommands.h"
#include "QtPorts.h"
#include "TfrmMain.h"
#include "ToolButtons.h"

#include <QMenu>

namespace zelmox {

namespace {

constexpr int BalloonMs = 10'000;

const QString ChangeDetected = QStringLiteral("Change Detected!");

QString Hint() {
    return QStringLiteral("Zelmox ") + TfrmMain::ProgramVersion;
}

} // namespace

TrayCommands::TrayCommands(TfrmMain& window, TrayIcon* tray, ToolButtons& buttons)
    : QObject(&window), window_(window) {
    BuildMenu(buttons);
    tray_ = tray != nullptr ? tray
                            : new QtTrayIcon(
                                  puToolTray_, [&window] { window.RestoreFromTray(); }, this);
    tray_->SetHint(Hint());
    tray_->SetImage(TrayIcon::Idle);
}

void TrayCommands::BuildMenu(ToolButtons& buttons) {
    puToolTray_ = new QMenu(&window_);
    puToolTray_->setObjectName(QStringLiteral("puToolTray"));
    puToolTray_->addAction(Hint())->setEnabled(false);
    puToolTray_->addSeparator();
    QAction* restore =
        puToolTray_->addAction(QStringLiteral("restore"), &window_, &TfrmMain::RestoreFromTray);
    restore->setObjectName(QStringLiteral("restore1"));
    puToolTray_->addSeparator();
    // Automatic scanning connects them.
    buttons.miTTStart = puToolTray_->addAction(QStringLiteral("start"));
    buttons.miTTStart->setObjectName(QStringLiteral("miTTStart"));
    buttons.miTTStop = puToolTray_->addAction(QStringLiteral("stop"));
    buttons.miTTStop->setObjectName(QStringLiteral("miTTStop"));
    buttons.miTTStop->setEnabled(false);
    puToolTray_->addSeparator();
    QAction* clear = puToolTray_->addAction(QStringLiteral("clear"), &window_.Clears(),
                                            &ClearCommands::miClearAllClick);
    clear->setObjectName(QStringLiteral("clear2"));
}

void TrayCommands::ShowAutoScan(bool on) {
    autoScanOn_ = on;
    tray_->SetImage(on ? TrayIcon::AutoScan : TrayIcon::Idle);
    tray_->SetHint(on ? Hint() + QStringLiteral(" [auto scan on]") : Hint());
}

void TrayCommands::ShowChangeNotice(bool balloon) {
    tray_->SetImage(TrayIcon::ChangeDetected);
    if (balloon) {
        tray_->ShowBalloon(ChangeDetected, QString(), BalloonMs);
    }
}

void TrayCommands::ShowIdleImage() {
    tray_->SetImage(autoScanOn_ ? TrayIcon::AutoScan : TrayIcon::Idle);
}

void TrayCommands::ShowFirstImage() {
    tray_->SetImage(TrayIcon::Idle);
}

} // namespace zelmox
