#pragma once

#include <QString>

class QToolButton;

namespace zelmox {

// A small button that shows only an image ("folder", "play", ... from the program's icons); its
// hint is also its name for screen readers.
QToolButton* MakeImageButton(const QString& name, const QString& image, const QString& hint);

} // namespace zelmox
