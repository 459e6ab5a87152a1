#pragma once

#include <cstdio>
#include <string>

namespace zelmox {

// The file a path ends at after following its symbolic links, even when that file does not exist
// yet; the path itself when it is no link. Writing there keeps the links.
std::string ResolveTarget(const std::string& path);

// A file written in full to a temporary name in the target's folder and then renamed over the
// target, so that a crash or a full disk leaves the old file as it was. Temporary files that
// earlier saves of the target left behind when their process was killed are removed on Open.
class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false (with Error()) when the folder does not take it.
    bool Open();
    void Write(std::string_view bytes);
    // Flushes, syncs and renames over the target; false (with Error()) if any step failed, in
    // which case the target is untouched and the temporary file removed.
    bool Commit();

    const std::string& Error() const { return error_; }

private:
    void Fail(const std::string& what, int errorNumber);
    void Discard();

    std::string path_;
    std::string temporaryPath_;
    std::FILE* file_ = nullptr;
    std::string error_;
};

} // namespace zelmox
