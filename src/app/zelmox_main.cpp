#include "Images.h"
#include "SettingsPaths.h"
#include "SingleInstance.h"
#include "TfrmMain.h"
#include "WebViews.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSplashScreen>
#include <QThread>
#include <memory>

namespace {

// The splash stays up at least this long, and until the main window exists.
constexpr int SplashMs = 2000;

} // namespace

int main(int argc, char* argv[]) {
    zelmox::PrepareWebViews();
    QApplication application(argc, argv);
    // The application name is the class of the window on X11, the desktop file name its
    // application id on Wayland: both let the desktop match the window to its menu entry.
    QApplication::setApplicationName(QStringLiteral("zelmox"));
    QApplication::setDesktopFileName(QStringLiteral("org.zelmox.Zelmox"));
    // A window hidden in the tray is not closed: the program ends when the main window closes,
    // not when the last visible window (a message box, say) does.
    QApplication::setQuitOnLastWindowClosed(false);
    const zelmox::StartupOptions options =
        zelmox::StartupOptions::FromArguments(QApplication::arguments());
    // A second start brings the running window forward, or asks it to scan, and ends.
    using Request = zelmox::SingleInstance::Request;
    zelmox::SingleInstance instance(zelmox::SingleInstance::DefaultServerName());
    if (!instance.Claim(options.SilentScan ? Request::ScanAll : Request::Show)) {
        return 0;
    }
    zelmox::InitialiseImages();

    QElapsedTimer splashTime;
    splashTime.start();
    auto splash = std::make_unique<QSplashScreen>(zelmox::SplashPicture());
    splash->show();
    QApplication::processEvents();

    zelmox::TfrmMain frmMain(options, zelmox::DefaultSettingsPaths());
    while (splashTime.elapsed() < SplashMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    QObject::connect(&frmMain, &zelmox::TfrmMain::Closed, &application, &QApplication::quit);
    splash.reset();
    // With "silentscan" the window minimises itself as it first shows.
    frmMain.show();
    // Requests of starts made while the splash was up found the window coming up anyway.
    QObject::connect(&instance, &zelmox::SingleInstance::Requested, &frmMain,
                     [&frmMain](Request request) {
                         if (request == Request::ScanAll) {
                             frmMain.tbScanClick();
                         } else {
                             frmMain.RestoreFromTray();
                         }
                     });
    return QApplication::exec();
}
