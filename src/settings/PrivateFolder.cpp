#include "PrivateFolder.h"

#include <cerrno>
#include <sys/stat.h>

namespace zelmox {

bool IsExistingFolder(const std::string& folder) {
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakePrivateFolderTree(const std::string& folder, int& errorNumber) {
    errorNumber = 0;
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if (end < folder.size() && folder[end] != '/') {
            continue;
        }
        if (folder[end - 1] == '/') {
            continue; // a doubled or trailing separator names the same folder again
        }
        const std::string prefix = folder.substr(0, end);
        // Looking first keeps a folder we may not write in (such as /home) from failing the
        // mkdir with EACCES instead of EEXIST.
        struct stat info {};
        if (::stat(prefix.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                errorNumber = ENOTDIR;
                return false;
            }
            continue;
        }
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            errorNumber = errno;
            return false;
        }
    }
    if (!folder.empty() && !IsExistingFolder(folder)) {
        errorNumber = ENOTDIR;
        return false;
    }
    return true;
}

} // namespace zelmox
