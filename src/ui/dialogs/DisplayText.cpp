#include "DisplayText.h"

#include "PageCharset.h"

#include <QStringDecoder>

namespace zelmox {

QString ShowText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

std::string StoreText(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace zelmox
