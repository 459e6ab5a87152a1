#pragma once

#include "Ports.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace zelmox {

// Indexes of the display image list: 1..5 for the change levels (5 is also the image of a tab
// whose scan found changes), 7 for a failed fetch, 8 for a manual watch.
inline constexpr int ImageFailed = 7;
inline constexpr int ImageManual = 8;
inline constexpr int ImageTabChanged = 5;

// Makes the compiled-in images available; call once before the first window is built.
void InitialiseImages();

QPixmap StatusImage(int index);
QIcon TabChangedImage();
QIcon TrayImage(TrayIcon::Image image);
// The frames of the tray's radar, shown in turn while an automatic scan runs.
inline constexpr int RadarFrameCount = 8;
QIcon RadarImage(int frame);
// A tool-bar or bottom-bar image by its file name without extension ("save", "scan-all", ...).
QIcon ButtonImage(const QString& name);
QIcon ProgramImage();
QPixmap SplashPicture();

} // namespace zelmox
