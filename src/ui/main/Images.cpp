#include "Images.h"

#include <QPainter>
#include <QSvgRenderer>

static void InitialiseResources() {
    Q_INIT_RESOURCE(resources);
}

namespace zelmox {

namespace {

constexpr int StatusImageSize = 16;

QPixmap Render(const QString& path, QSize size) {
    QSvgRenderer renderer(path);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QString StatusImageName(int index) {
    switch (index) {
    case ImageFailed:
        return QStringLiteral("status-failed");
    case ImageManual:
        return QStringLiteral("status-manual");
    default:
        return QStringLiteral("status-%1").arg(index);
    }
}

} // namespace

void InitialiseImages() {
    InitialiseResources();
}

QPixmap StatusImage(int index) {
    return Render(":/icons/" + StatusImageName(index) + ".svg",
                  QSize(StatusImageSize, StatusImageSize));
}

QIcon TabChangedImage() {
    return QIcon(QStringLiteral(":/icons/tab-changed.svg"));
}

QIcon TrayImage(TrayIcon::Image image) {
    switch (image) {
    case TrayIcon::AutoScan:
        return QIcon(QStringLiteral(":/icons/tray-auto.svg"));
    case TrayIcon::ChangeDetected:
        return QIcon(QStringLiteral(":/icons/tray-changed.svg"));
    default:
        return QIcon(QStringLiteral(":/icons/tray-idle.svg"));
    }
}

QIcon ButtonImage(const QString& name) {
    return QIcon(":/icons/" + name + ".svg");
}

QIcon ProgramImage() {
    return QIcon(QStringLiteral(":/icons/app.svg"));
}

QPixmap SplashPicture() {
    return Render(QStringLiteral(":/icons/splash.svg"), QSize(400, 240));
}

} // namespace zelmox
