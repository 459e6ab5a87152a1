#pragma once

#include <QByteArray>
#include <QString>

namespace zelmox {

// Reads a local file as the watch text: the text ends before the first NUL byte and every line
// break (CR LF, lone CR, lone LF) becomes CR LF. Only regular files up to maxBytes are read; any
// other case is a failure.
bool ReadLocalFile(const QString& path, qint64 maxBytes, QByteArray& text);

// The line-break rule on its own.
QByteArray NormaliseLineBreaks(const QByteArray& bytes);

} // namespace zelmox
