#pragma once

#include <string>

namespace zelmox {

// A web page when the address holds "HTTP:", "HTTPS:" or "WWW." in any letter case; anything else
// is a local file path.
bool IsWebAddress(const std::string& address);

// True for an address of the http or https scheme (as opposed to one that only holds "www.").
bool HasHttpScheme(const std::string& address);

} // namespace zelmox
