#include "IniFile.h"

#include "PrivateFolder.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmox {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

ParsedLine ParseLine(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') {
        return {};
    }
    if (line.front() == '[') {
        const std::size_t close = line.find(']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {LineKind::Section, TrimBlanks(line.substr(1, close - 1)), {}};
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {LineKind::Key, TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

std::string WriteFailure(const std::string& path, int errorNumber) {
    return "Unable to write to " + path + ": " + std::strerror(errorNumber);
}

// Writing through a symbolic link keeps the link (a settings file kept elsewhere and linked in
// stays where the user put it); renaming over the link itself would replace it.
std::string ResolveLinkedTarget(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) {
        return path;
    }
    const fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename is only durable once the folder's entry is on disk; failing that is not worth
// reporting, since the new file is complete either way.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

SettingsResult IniFile::Load(const std::string& path) {
    lines_.clear();
    lineEnd_ = "\n";

    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {};
        }
        return {false, "Unable to read " + path + ": " + std::strerror(errno)};
    }
    std::string bytes;
    char buffer[8192];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed) {
        return {false, "Unable to read " + path + ": " + std::strerror(readError)};
    }

    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool terminated = end != std::string::npos;
        if (!terminated) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        const bool crlf = terminated && !line.empty() && line.back() == '\r';
        if (crlf) {
            line.pop_back();
        }
        if (lines_.empty() && crlf) {
            lineEnd_ = "\r\n";
        }
        lines_.push_back(std::move(line));
        start = end + 1;
    }
    return {};
}

SettingsResult IniFile::Save(const std::string& path) const {
    namespace fs = std::filesystem;
    const std::string target = ResolveLinkedTarget(path);
    std::string folder = fs::path(target).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    int errorNumber = 0;
    if (!MakePrivateFolderTree(folder, errorNumber)) {
        return {false, WriteFailure(path, errorNumber)};
    }

    std::string temporary = folder + "/." + fs::path(target).filename().string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return {false, WriteFailure(path, errno)};
    }
    // The file may hold a proxy password, so it is never readable by others, whatever the umask.
    bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, Text()) && ::fsync(fd) == 0;
    errorNumber = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        errorNumber = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        errorNumber = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return {false, WriteFailure(path, errorNumber)};
    }
    SyncFolder(folder);
    return {};
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
    const std::optional<std::size_t> header = FindSection(section);
    if (!header) {
        return fallback;
    }
    const std::optional<std::size_t> line = FindKey(*header, key);
    if (!line) {
        return fallback;
    }
    return std::string(ParseLine(lines_[*line]).value);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
    const std::string text = ReadString(section, key, {});
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') {
            return fallback;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return fallback;
    }
    return value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    const std::optional<std::size_t> header = FindSection(section);
    if (!header) {
        if (!lines_.empty() && !TrimBlanks(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + std::string(value));
        return;
    }
    if (const std::optional<std::size_t> line = FindKey(*header, key)) {
        // Keep the key as the file spells it; only the value is ours.
        const std::string name(ParseLine(lines_[*line]).name);
        lines_[*line] = name + "=" + std::string(value);
        return;
    }
    // After the section's last key rather than its last line, so that the blank line and any
    // comment that introduce the next section stay in front of it.
    std::size_t insertAt = *header + 1;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (ParseLine(lines_[i]).kind == LineKind::Key) {
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  std::string(key) + "=" + std::string(value));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += lineEnd_;
    }
    return text;
}

std::string_view IniFile::LineForParsing(std::size_t index) const {
    std::string_view line = lines_[index];
    if (index == 0 && line.starts_with(kUtf8Bom)) {
        line.remove_prefix(kUtf8Bom.size());
    }
    return line;
}

std::optional<std::size_t> IniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine parsed = ParseLine(LineForParsing(i));
        if (parsed.kind == LineKind::Section && SameName(parsed.name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        if (ParseLine(lines_[i]).kind == LineKind::Section) {
            return i;
        }
    }
    return lines_.size();
}

std::optional<std::size_t> IniFile::FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const ParsedLine parsed = ParseLine(lines_[i]);
        if (parsed.kind == LineKind::Key && SameName(parsed.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace zelmox
