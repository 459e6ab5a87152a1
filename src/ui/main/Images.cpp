#include "Images.h"

#include <QConicalGradient>
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

QIcon RadarImage(int frame) {
    constexpr int Size = 64;
    // The screen's centre and radius in the picture's 22-unit drawing.
    constexpr double Scale = Size / 22.0;
    constexpr double CentreX = 13.5;
    constexpr double CentreY = 14.5;
    constexpr double Radius = 6.3;
    constexpr int BeamDegrees = 60;
    QPixmap pixmap = Render(QStringLiteral(":/icons/tray-radar.svg"), QSize(Size, Size));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(Scale, Scale);
    painter.translate(CentreX, CentreY);
    painter.rotate(360.0 * frame / RadarFrameCount);
    const QRectF screen(-Radius, -Radius, 2 * Radius, 2 * Radius);
    // The beam fades behind the sweeping line, which points up in the first frame.
    QConicalGradient beam(QPointF(0, 0), 90);
    beam.setColorAt(0, QColor(0x8c, 0xf0, 0xa0, 200));
    beam.setColorAt(BeamDegrees / 360.0, QColor(0x8c, 0xf0, 0xa0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(beam);
    painter.drawPie(screen, 90 * 16, BeamDegrees * 16);
    painter.setPen(QPen(QColor(0xd8, 0xff, 0xe0), 0.9, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, 0), QPointF(0, -Radius));
    painter.end();
    return QIcon(pixmap);
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
