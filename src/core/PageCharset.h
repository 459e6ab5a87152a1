#pragma once

#include <string>
#include <string_view>

namespace zelmox {

enum class Charset { Utf8, Windows1252 };

bool IsValidUtf8(std::string_view bytes);

// Every byte read as Windows-1252 (its five unassigned bytes as the C1 controls of the same
// number), written as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// The charset a page is read in: the one its <meta> declares in its first 1024 bytes when that is
// UTF-8 or a Latin-1 family name, else UTF-8 when the bytes are valid UTF-8, else Windows-1252.
// A declared UTF-8 that is not valid UTF-8 is read as Windows-1252 too.
Charset PageCharset(std::string_view page);

// Whether the page's <meta> names a charset other than UTF-8 and the Latin-1 family: one that only
// a browser decodes, from the page's own declaration.
bool DeclaresOtherCharset(std::string_view page);

// The page's text as UTF-8, decoded from its charset.
std::string PageAsUtf8(std::string_view page);

// The name a browser is given for the charset: "utf-8" or "windows-1252".
const char* CharsetName(Charset charset);

} // namespace zelmox
