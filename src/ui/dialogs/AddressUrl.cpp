#include "AddressUrl.h"

#include "Address.h"

namespace zelmox {

QUrl AddressUrl(const QString& address) {
    if (address.contains(QLatin1String("://")) || address.startsWith(QLatin1String("mailto:"))) {
        return QUrl(address, QUrl::TolerantMode);
    }
    if (IsWebAddress(address.toStdString())) {
        // A web address written without its scheme, such as one starting with "www.".
        return QUrl(QStringLiteral("http://") + address, QUrl::TolerantMode);
    }
    return QUrl::fromLocalFile(address);
}

} // namespace zelmox
