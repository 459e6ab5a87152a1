#include "AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
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

// Creates a new, empty file beside the target under an unused name. It gets the mode a new file
// of the user gets, or the mode of the file it will replace.
int CreateTemporary(const std::string& target, std::string& temporaryPath) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath =
            target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000);
        const int descriptor =
            ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            struct stat status {};
            if (descriptor >= 0 && ::stat(target.c_str(), &status) == 0) {
                ::fchmod(descriptor, status.st_mode & 07777);
            }
            return descriptor;
        }
    }
    return -1;
}

} // namespace

AtomicFile::AtomicFile(std::string path) : path_(ResolveTarget(path)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open() {
    const int descriptor = CreateTemporary(path_, temporaryPath_);
    if (descriptor < 0) {
        const int errorNumber = errno;
        temporaryPath_.clear();
        Fail("Cannot write \"" + path_ + "\"", errorNumber);
        return false;
    }
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
