#pragma once

#include <string>
#include <string_view>

namespace zelmox {

// The text between the first "<TITLE>" and the first "</TITLE>" (tags found in any letter case,
// text returned as written); empty when either is missing or nothing lies between.
std::string GetPageTitle(std::string_view content);

// The text after the first <META NAME="DESCRIPTION" CONTENT=" up to the next double quote.
std::string GetMetaDescription(std::string_view content);

} // namespace zelmox

namespace zelmox {

// The text with every CR and LF turned into a space, for values that must stay on one line.
std::string SingleLine(std::string text);

} // namespace zelmox
