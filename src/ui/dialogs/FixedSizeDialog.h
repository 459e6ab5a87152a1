#pragma once

#include <QDialog>

namespace zelmox {

// A dialog of one size: it cannot be resized, so its frame offers no maximise button either.
inline void FixDialogSize(QDialog& dialog, int width, int height) {
    dialog.setFixedSize(width, height);
    dialog.setWindowFlags((dialog.windowFlags() & ~Qt::WindowMinMaxButtonsHint) |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

} // namespace zelmox
