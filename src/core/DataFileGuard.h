#pragma once

#include "DataFileLock.h"

#include <ctime>
#include <string>
#include <sys/types.h>

namespace zelmox {

// Keeps the window's data file safe from other Zelmox programs working on it at the same time: it
// holds the file's lock while a scan changes the list and its snapshots, takes it for a save, and
// tells when the file was changed on disk since the window last read or wrote it.
class DataFileGuard {
public:
    // For the length of a scan of the list read from the path; an empty path (a list never saved)
    // needs no lock. False, with Error(), when another program holds the file.
    bool LockForScan(const std::string& path);
    void UnlockAfterScan();

    // For a save to the path: true when the scan's lock covers it already or saveLock could be
    // taken (waiting up to a second).
    bool LockForSave(const std::string& path, DataFileLock& saveLock);

    const std::string& Error() const { return error_; }

    // The file as the window just read or wrote it.
    void Remember(const std::string& path);
    // Whether the file at the path is the remembered one and was replaced or changed since.
    bool ChangedSinceRemembered(const std::string& path) const;

private:
    struct Stamp {
        dev_t Device = 0;
        ino_t Inode = 0;
        off_t Size = -1;
        timespec Modified{};
    };
    static bool StampOf(const std::string& path, Stamp& stamp);

    DataFileLock scanLock_;
    std::string scanPath_;
    std::string error_;
    std::string rememberedPath_;
    Stamp remembered_;
};

} // namespace zelmox
