#include "DataFileGuard.h"

#include "AtomicFile.h"

#include <sys/stat.h>

namespace zelmox {

namespace {

constexpr std::chrono::seconds SaveLockWait{1};

} // namespace

bool DataFileGuard::LockForScan(const std::string& path) {
    UnlockAfterScan();
    if (path.empty()) {
        return true;
    }
    if (!scanLock_.Acquire(path, std::chrono::milliseconds(0))) {
        error_ = scanLock_.Error();
        return false;
    }
    scanPath_ = ResolveTarget(path);
    return true;
}

void DataFileGuard::UnlockAfterScan() {
    scanLock_.Release();
    scanPath_.clear();
}

bool DataFileGuard::LockForSave(const std::string& path, DataFileLock& saveLock) {
    if (scanLock_.Held() && ResolveTarget(path) == scanPath_) {
        return true;
    }
    if (!saveLock.Acquire(path, SaveLockWait)) {
        error_ = saveLock.Error();
        return false;
    }
    return true;
}

bool DataFileGuard::StampOf(const std::string& path, Stamp& stamp) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    stamp = {status.st_dev, status.st_ino, status.st_size, status.st_mtim};
    return true;
}

void DataFileGuard::Remember(const std::string& path) {
    rememberedPath_ = StampOf(path, remembered_) ? path : std::string();
}

bool DataFileGuard::ChangedSinceRemembered(const std::string& path) const {
    Stamp now;
    if (path.empty() || path != rememberedPath_ || !StampOf(path, now)) {
        return false;
    }
    // A save by another program renames a new file into place; an editor may write in place.
    return now.Device != remembered_.Device || now.Inode != remembered_.Inode ||
           now.Size != remembered_.Size || now.Modified.tv_sec != remembered_.Modified.tv_sec ||
           now.Modified.tv_nsec != remembered_.Modified.tv_nsec;
}

} // namespace zelmox
