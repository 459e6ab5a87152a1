#include "Snapshot.h"

#include "Digest.h"

#include <algorithm>

namespace zelmox {

bool IsKnownExtension(std::string_view extension) {
    const std::string upper = AsciiUpper(extension);
    return std::find(KnownExtensions.begin(), KnownExtensions.end(), upper) !=
           KnownExtensions.end();
}

std::string SnapshotExtension(const std::string& address) {
    const std::size_t dot = address.rfind('.');
    const std::size_t separator = address.find_last_of("\\:");
    if (dot == std::string::npos || (separator != std::string::npos && separator > dot)) {
        return ".html";
    }
    const std::string extension = address.substr(dot);
    return IsKnownExtension(extension) ? extension : ".html";
}

std::string SnapshotFileName(const std::string& dataFolder, const TWatch& watch,
                             std::string_view suffix) {
    const std::string stem =
        IsDigestText(watch.AddressMD5) ? watch.AddressMD5 : ComputeAddressMD5(watch);
    return dataFolder + stem + std::string(suffix) + SnapshotExtension(watch.Address);
}

} // namespace zelmox
