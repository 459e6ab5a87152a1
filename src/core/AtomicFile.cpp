#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zelmox {

namespace {

constexpr const char* TemporaryMark = ".tmp";

// "FILE.tmpPID-N": the writing process is part of the name, so that a temporary file left by a
// save that was killed can be told from one still being written.
std::string TemporaryName(const std::string& target, pid_t pid, long number) {
    return target + TemporaryMark + std::to_string(pid) + "-" + std::to_string(number);
}

// The process that wrote a temporary file of the target named so; nothing for other names.
std::optional<pid_t> TemporaryWriter(const std::string& name, const std::string& targetName) {
    const std::string prefix = targetName + TemporaryMark;
    if (!name.starts_with(prefix)) {
        return std::nullopt;
    }
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    const std::size_t dash = rest.find('-');
    const auto isNumber = [](std::string_view digits) {
        return !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                              [](char c) { return c >= '0' && c <= '9'; });
    };
    pid_t pid = 0;
    if (dash == std::string_view::npos || !isNumber(rest.substr(0, dash)) ||
        !isNumber(rest.substr(dash + 1)) ||
        std::from_chars(rest.data(), rest.data() + dash, pid).ec != std::errc()) {
        return std::nullopt;
    }
    return pid;
}

// Removes the temporary files of earlier saves of the target whose process has ended: a save
// killed midway leaves one behind, and nothing else ever would.
void RemoveAbandonedTemporaries(const std::string& target) {
    const std::filesystem::path targetPath(target);
    const std::filesystem::path folder =
        targetPath.has_parent_path() ? targetPath.parent_path() : std::filesystem::path(".");
    std::vector<std::filesystem::path> abandoned;
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(folder, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const auto pid =
            TemporaryWriter(entry->path().filename().string(), targetPath.filename().string());
        if (pid && *pid > 0 && *pid != ::getpid() && ::kill(*pid, 0) != 0 && errno == ESRCH) {
            abandoned.push_back(entry->path());
        }
    }
    for (const auto& path : abandoned) {
        std::filesystem::remove(path, error);
    }
}

// Creates a new, empty file beside the target under an unused name. It gets the mode a new file
// of the user gets, or the mode of the file it will replace.
int CreateTemporary(const std::string& target, std::string& temporaryPath) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = TemporaryName(target, ::getpid(), static_cast<long>(random() % 1000000));
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

std::string ResolveTarget(const std::string& path) {
    // Followed link by link, so that a link to a file not made yet still leads to it.
    constexpr int MaxLinks = 40;
    std::filesystem::path target(path);
    std::error_code error;
    for (int link = 0; link < MaxLinks && std::filesystem::is_symlink(target, error); ++link) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}

AtomicFile::AtomicFile(std::string path) : path_(ResolveTarget(path)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open() {
    RemoveAbandonedTemporaries(path_);
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
