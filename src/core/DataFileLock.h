#pragma once

#include <chrono>
#include <string>

namespace zelmox {

// An exclusive lock on a data file for the time a program reads, changes and writes it back (with
// the snapshot files of its watches), so that two programs never interleave: an advisory lock on
// the file "FILE.lock" beside the file that a path ends at. Released when the object goes.
class DataFileLock {
public:
    DataFileLock() = default;
    ~DataFileLock();
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;

    // Takes the lock, waiting up to the given time while another holds it; false, with an error
    // that names the file, when the wait ran out. A folder where no lock file can be made holds
    // no lock (whatever needs to write there fails on its own).
    bool Acquire(const std::string& dataFile, std::chrono::milliseconds wait);
    void Release();

    bool Held() const { return descriptor_ >= 0; }
    const std::string& Error() const { return error_; }

private:
    int descriptor_ = -1;
    std::string error_;
};

} // namespace zelmox
