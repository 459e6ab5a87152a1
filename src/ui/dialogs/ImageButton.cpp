#include "ImageButton.h"

#include <QIcon>
#include <QToolButton>

namespace zelmox {

QToolButton* MakeImageButton(const QString& name, const QString& image, const QString& hint) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setIcon(QIcon(QStringLiteral(":/icons/") + image + QStringLiteral(".svg")));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

} // namespace zelmox
