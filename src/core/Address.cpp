#include "Address.h"

#include "Digest.h"

namespace zelmox {

bool HasHttpScheme(const std::string& address) {
    const std::string upper = AsciiUpper(address);
    return upper.find("HTTP:") != std::string::npos || upper.find("HTTPS:") != std::string::npos;
}

bool IsWebAddress(const std::string& address) {
    return HasHttpScheme(address) || AsciiUpper(address).find("WWW.") != std::string::npos;
}

} // namespace zelmox
