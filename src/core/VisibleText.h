#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelmox {

// The text a reader sees on a page, line by line, in UTF-8: no script, style, template, title or
// comment text; block elements and <br> end lines; entities decoded; runs of white space read as
// one space; empty lines dropped. The page is decoded from its own charset first (PageCharset).
std::vector<std::string> VisibleLines(std::string_view page);

// The whole of a file, empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

} // namespace zelmox
