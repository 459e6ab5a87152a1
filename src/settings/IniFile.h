#pragma once

#include "SettingsResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmox {

// An INI file read and written key by key with private-profile semantics: section and key names
// match without regard to case, values are trimmed of surrounding blanks, the first of duplicate
// sections or keys wins, and every line the program does not write (comments, unknown sections
// and keys, blank lines) stays exactly as it was. Values are bytes; no charset is assumed.
class IniFile {
public:
    // Replaces the content with the file at `path`. A file that does not exist reads as empty
    // and is not an error; an unreadable one leaves the content empty and reports why.
    SettingsResult Load(const std::string& path);

    // Writes the whole file atomically (temporary file, sync, rename) with mode 0600, creating
    // missing parent folders with mode 0700. On failure the old file is untouched.
    SettingsResult Save(const std::string& path) const;

    // The value of a key; `fallback` when the section or key is missing. A key present with an
    // empty value gives the empty string.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // A decimal 32-bit integer with optional sign; anything else gives `fallback`.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;
    // Booleans are stored as integers; any value other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the first occurrence of the key, or adds it after the last key of its section,
    // or appends a new section at the end of the file. A line break cannot be stored in a line,
    // so the value is cut at the first one.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // The file's text as Save writes it.
    std::string Text() const;

private:
    std::string_view LineForParsing(std::size_t index) const;
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;

    std::vector<std::string> lines_;
    // A file that came with CR LF line ends keeps them.
    std::string lineEnd_ = "\n";
};

} // namespace zelmox
