#include "DisplayText.h"

#include <QStringDecoder>

namespace zelmox {

QString ShowText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    static const char16_t windows1252High[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    QString decoded;
    decoded.reserve(static_cast<qsizetype>(bytes.size()));
    for (const unsigned char byte : bytes) {
        decoded.append(byte >= 0x80 && byte < 0xA0 ? QChar(windows1252High[byte - 0x80])
                                                   : QChar(byte));
    }
    return decoded;
}

std::string StoreText(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace zelmox
