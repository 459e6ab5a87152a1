#pragma once

#include "Watch.h"

#include <array>
#include <string>
#include <string_view>

namespace zelmox {

// Extensions whose snapshots keep their own extension, so that the default handler opens the copy
// with the right program. Compared in upper case.
inline constexpr std::array<std::string_view, 11> KnownExtensions = {
    ".DOC", ".PDF", ".GIF", ".JPG", ".BMP", ".ZIP", ".RAR", ".XLS", ".EXE", ".PNG", ".ACE"};

// The three snapshot generations of a watch.
inline constexpr std::string_view SuffixOriginal = "_x";
inline constexpr std::string_view SuffixBefore = "_b";
inline constexpr std::string_view SuffixAfter = "_a";

bool IsKnownExtension(std::string_view extension);

// The extension a snapshot of this address is stored with: the address's own when it is one of
// KnownExtensions (only backslash and colon end the search for the last "."), else ".html".
std::string SnapshotExtension(const std::string& address);

// dataFolder + AddressMD5 + suffix + extension. A stored AddressMD5 that is not a digest text is
// never used in a name: the digest is computed afresh, so a crafted value cannot reach outside the
// data folder.
std::string SnapshotFileName(const std::string& dataFolder, const TWatch& watch,
                             std::string_view suffix);

} // namespace zelmox
