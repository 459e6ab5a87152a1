#pragma once

#include <QString>

namespace zelmox {

// The maker's web server and e-mail address. Both are set when the program is built; the
// environment variable ZELMOX_MAKER_HOST, when set and not empty, names another server for the
// run (a test server, a mirror).
QString MakerHost();
QString MakerEmail();

// "http://", the maker's web server and the path ("/zelmox/").
QString MakerPage(const QString& path);

} // namespace zelmox
