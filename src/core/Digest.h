#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zelmox {

using Digest = std::array<unsigned char, 16>;

// RFC 1321 digest of the bytes of a text.
Digest MD5String(std::string_view text);

// The 32 lower-case hexadecimal digits of a digest.
std::string MD5Print(const Digest& digest);

// Digest text of the bytes that lie outside tags: a byte counts only when the last angle bracket
// before it is ">".
std::string ProcessNonTaggedContent(std::string_view content);

// True when at least one non-empty keyword occurs in the content, ASCII letters compared without
// regard to case.
bool ProcessKeywords(std::string_view content, const std::vector<std::string>& keywords);

// ASCII letters a..z turned to upper case; every other byte as it is.
std::string AsciiUpper(std::string_view text);

} // namespace zelmox
