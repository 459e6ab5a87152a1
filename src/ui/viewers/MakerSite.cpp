#include "MakerSite.h"

#include <QtGlobal>

namespace zelmox {

QString MakerHost() {
    const QString host = qEnvironmentVariable("ZELMOX_MAKER_HOST");
    return host.isEmpty() ? QStringLiteral(ZELMOX_MAKER_HOST) : host;
}

QString MakerEmail() {
    return QStringLiteral(ZELMOX_MAKER_EMAIL);
}

QString MakerPage(const QString& path) {
    return QStringLiteral("http://") + MakerHost() + path;
}

} // namespace zelmox
