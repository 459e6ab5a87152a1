#pragma once

#include <QString>
#include <QUrl>

namespace zelmox {

// A watch's address as a browser or the shell opens it: a web address (with "http://" put in front
// when it has no scheme) or a "mailto:" address as it is, anything else as a local file.
QUrl AddressUrl(const QString& address);

} // namespace zelmox
