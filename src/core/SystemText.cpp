#include "SystemText.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <sys/utsname.h>

namespace zelmox {

namespace {

constexpr std::string_view PrettyNameKey = "PRETTY_NAME=";
// The distribution's own file first, then the one the system supplies when there is none.
constexpr std::array<const char*, 2> OsReleaseFiles = {"/etc/os-release", "/usr/lib/os-release"};

// A value as a shell would read it: in double quotes with backslash escapes, in single quotes
// literally, or bare.
std::string Unquote(std::string_view value) {
    if (value.empty() || (value.front() != '"' && value.front() != '\'')) {
        return std::string(value);
    }
    const char quote = value.front();
    std::string text;
    for (std::size_t i = 1; i < value.size() && value[i] != quote; ++i) {
        if (quote == '"' && value[i] == '\\' && i + 1 < value.size()) {
            ++i;
        }
        text += value[i];
    }
    return text;
}

std::string_view TrimmedLine(std::string_view line) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && blank(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

// The leading decimal number of the text, and how many characters it took.
std::size_t ReadNumber(std::string_view text, long long& number) {
    std::size_t length = 0;
    number = 0;
    while (length < text.size() && length < 9 && text[length] >= '0' && text[length] <= '9') {
        number = number * 10 + (text[length] - '0');
        ++length;
    }
    return length;
}

std::string ReadOsRelease() {
    for (const char* path : OsReleaseFiles) {
        std::ifstream file(path);
        if (file) {
            std::ostringstream text;
            text << file.rdbuf();
            return text.str();
        }
    }
    return {};
}

} // namespace

std::string SystemText(const SystemVersion& system) {
    return system.Name + " " + system.ServicePack + " (Build " + std::to_string(system.Build) + ")";
}

std::string PrettyNameOf(std::string_view osRelease) {
    std::string name;
    while (!osRelease.empty()) {
        const std::size_t end = std::min(osRelease.find('\n'), osRelease.size());
        const std::string_view line = TrimmedLine(osRelease.substr(0, end));
        osRelease.remove_prefix(std::min(end + 1, osRelease.size()));
        if (line.starts_with(PrettyNameKey)) {
            name = Unquote(line.substr(PrettyNameKey.size()));
        }
    }
    return name;
}

long long KernelVersionCode(std::string_view release) {
    std::array<long long, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t length = ReadNumber(release, parts[i]);
        if (length == 0) {
            if (i == 0) {
                return 0;
            }
            break;
        }
        release.remove_prefix(length);
        if (release.empty() || release.front() != '.') {
            break;
        }
        release.remove_prefix(1);
    }
    return parts[0] * 65536 + parts[1] * 256 + std::min(parts[2], 255LL);
}

SystemVersion RunningSystem() {
    SystemVersion system;
    system.Name = PrettyNameOf(ReadOsRelease());
    if (system.Name.empty()) {
        system.Name = "Linux";
    }
    utsname kernel{};
    if (uname(&kernel) == 0) {
        system.ServicePack = kernel.release;
        system.Build = KernelVersionCode(kernel.release);
    }
    return system;
}

} // namespace zelmox
