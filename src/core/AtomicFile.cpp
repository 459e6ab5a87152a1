#include "AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmox {

namespace {

// The real file behind a symbolic link, so that saving through a link keeps the link.
std::string ResolveTarget(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const auto target = std::filesystem::weakly_canonical(path, error);
        if (!error) {
            return target.string();
        }
    }
    return path;
}

// The mode a new file would get, or the one the replaced file has.
mode_t TargetMode(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        return status.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicFile::AtomicFile(std::string path) : path_(ResolveTarget(path)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open() {
    temporaryPath_ = path_ + ".XXXXXX";
    const int descriptor = ::mkstemp(temporaryPath_.data());
    if (descriptor < 0) {
        const int errorNumber = errno;
        temporaryPath_.clear();
        Fail("Cannot write \"" + path_ + "\"", errorNumber);
        return false;
    }
    ::fchmod(descriptor, TargetMode(path_));
    file_ = ::fdopen(descriptor, "wb");
    if (file_ == nullptr) {
        const int errorNumber = errno;
        ::close(descriptor);
        Fail("Cannot write \"" + path_ + "\"", errorNumber);
        return false;
    }
    static constexpr std::size_t bufferSize = 1 << 16;
    std::setvbuf(file_, nullptr, _IOFBF, bufferSize);
    return true;
}

void AtomicFile::Write(std::string_view bytes) {
    if (file_ != nullptr && !bytes.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), file_);
    }
}

bool AtomicFile::Commit() {
    if (file_ == nullptr) {
        return false;
    }
    errno = 0;
    int errorNumber = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_) != 0) {
        errorNumber = errno != 0 ? errno : EIO;
    } else if (::fsync(::fileno(file_)) != 0) {
        errorNumber = errno;
    }
    if (std::fclose(file_) != 0 && errorNumber == 0) {
        errorNumber = errno;
    }
    file_ = nullptr;
    if (errorNumber == 0 && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        errorNumber = errno;
    }
    if (errorNumber != 0) {
        Fail("Cannot write \"" + path_ + "\"", errorNumber);
        Discard();
        return false;
    }
    temporaryPath_.clear();
    return true;
}

void AtomicFile::Fail(const std::string& what, int errorNumber) {
    if (error_.empty()) {
        error_ = what + ": " + std::strerror(errorNumber);
    }
}

void AtomicFile::Discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporaryPath_.empty()) {
        std::remove(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

} // namespace zelmox
