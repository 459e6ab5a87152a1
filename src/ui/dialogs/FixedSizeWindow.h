#pragma once

#include <QScreen>
#include <QSize>
#include <QWidget>

namespace zelmox {

// A window of one size: it cannot be resized, so its frame offers no maximise button either.
inline void FixWindowSize(QWidget& window, QSize size) {
    window.setFixedSize(size);
    window.setWindowFlags((window.windowFlags() & ~Qt::WindowMinMaxButtonsHint) |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

// Places the window in the middle of its screen's free area.
inline void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

} // namespace zelmox
