#include "SnapshotStore.h"

#include "Snapshot.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace zelmox {

namespace {

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// A rename that fails rather than replace an existing target.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the no-replace flag.
    return !Exists(to) && std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool WriteInitialSnapshots(const std::string& dataFolder, const TWatch& watch,
                           std::string_view content, bool onlyMissing) {
    std::string bytes(content);
    bytes += "\r\n";
    bool written = true;
    for (const std::string_view suffix : {SuffixOriginal, SuffixBefore, SuffixAfter}) {
        const std::string path = SnapshotFileName(dataFolder, watch, suffix);
        if ((!onlyMissing || !Exists(path)) && !WriteWholeFile(path, bytes)) {
            written = false;
        }
    }
    return written;
}

void CarryOverSnapshots(const std::string& dataFolder, const TWatch& before, const TWatch& after) {
    for (const std::string_view suffix : {SuffixOriginal, SuffixAfter, SuffixBefore}) {
        const std::string from = SnapshotFileName(dataFolder, before, suffix);
        std::error_code error;
        if (Exists(from)) {
            std::filesystem::copy_file(from, SnapshotFileName(dataFolder, after, suffix),
                                       std::filesystem::copy_options::overwrite_existing, error);
        }
    }
}

std::vector<std::string> RotateSnapshots(const std::string& dataFolder, const TWatch& watch,
                                         std::string_view content) {
    std::vector<std::string> log;
    const std::string before = SnapshotFileName(dataFolder, watch, SuffixBefore);
    if (Exists(before) && std::remove(before.c_str()) != 0) {
        log.push_back("Couldn't delete: " + dataFolder + watch.Address + " (_b)");
    }
    const std::string after = SnapshotFileName(dataFolder, watch, SuffixAfter);
    if (Exists(after) && !RenameWithoutReplacing(after, before)) {
        log.push_back("Couldn't rename: " + dataFolder + watch.Address + " (_a)");
    }
    if (!WriteWholeFile(after, content)) {
        log.push_back("Couldn't save: " + dataFolder + watch.Address + " (_a)");
    }
    return log;
}

} // namespace zelmox
