#include "LocalFileReader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace zelmox {

QByteArray NormaliseLineBreaks(const QByteArray& bytes) {
    QByteArray text;
    text.reserve(bytes.size() + bytes.size() / 32);
    const char* position = bytes.constData();
    const char* const end = position + bytes.size();
    while (position < end) {
        const char* lineEnd =
            std::find_if(position, end, [](char c) { return c == '\r' || c == '\n'; });
        text.append(position, lineEnd - position);
        if (lineEnd == end) {
            break;
        }
        text.append("\r\n", 2);
        position = lineEnd + 1;
        if (*lineEnd == '\r' && position < end && *position == '\n') {
            ++position;
        }
    }
    return text;
}

bool ReadLocalFile(const QString& path, qint64 maxBytes, QByteArray& text) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxBytes) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes || file.error() != QFileDevice::NoError) {
        return false;
    }
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) {
        bytes.truncate(nul);
    }
    text = NormaliseLineBreaks(bytes);
    return true;
}

} // namespace zelmox
