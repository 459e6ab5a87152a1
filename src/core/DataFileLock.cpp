#include "DataFileLock.h"

#include "AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace zelmox {

namespace {

constexpr std::chrono::milliseconds RetryPause{50};

} // namespace

DataFileLock::~DataFileLock() {
    Release();
}

bool DataFileLock::Acquire(const std::string& dataFile, std::chrono::milliseconds wait) {
    Release();
    error_.clear();
    const std::string lockFile = ResolveTarget(dataFile) + ".lock";
    const int descriptor = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return true;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        // A file system without locks: there is nothing to wait for.
        if (errno != EWOULDBLOCK) {
            ::close(descriptor);
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(descriptor);
            error_ = "\"" + dataFile + "\" is in use by another Zelmox program";
            return false;
        }
        std::this_thread::sleep_for(RetryPause);
    }
    descriptor_ = descriptor;
    return true;
}

void DataFileLock::Release() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

} // namespace zelmox
