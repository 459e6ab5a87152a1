#pragma once

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

} // namespace zelmox
