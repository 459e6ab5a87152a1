#pragma once

#include <string>
#include <string_view>

namespace zelmox {

// How deep elements may nest in a page that is parsed for its text. Browsers build no deeper
// trees either; past it the parser's work grows with the square of the depth, so that a page of
// twenty thousand open <div>s alone took seconds and gigabytes.
inline constexpr int MaxNesting = 512;

// The page with the tags that would nest elements deeper than maxDepth left out, their text kept.
// Tags of elements that have no end (<br>, "/>"), or that a parser ends by itself (<p>, <li>, a
// table's rows and cells), do not count; comments and the contents of script and style are passed
// over as they are. A page that stays within the bound comes back unchanged.
std::string WithNestingBounded(std::string_view page, int maxDepth = MaxNesting);

} // namespace zelmox
