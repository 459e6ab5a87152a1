#pragma once

#include <string>
#include <string_view>

namespace zelmox {

// A stored page as it is shown: with <base href="baseAddress"> put at the start of its head, so
// that its relative addresses reach the site it came from. A page with a <base> of its own, or
// an empty base address, is left as it is.
std::string WithBaseAddress(std::string_view page, std::string_view baseAddress);

} // namespace zelmox
