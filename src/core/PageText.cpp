#include "PageText.h"

#include "Digest.h"

namespace zelmox {

std::string GetPageTitle(std::string_view content) {
    static constexpr std::string_view open = "<TITLE>";
    static constexpr std::string_view close = "</TITLE>";
    const std::string upper = AsciiUpper(content);
    const std::size_t start = upper.find(open);
    const std::size_t end = upper.find(close);
    if (start == std::string::npos || end == std::string::npos || end <= start + open.size()) {
        return {};
    }
    return std::string(content.substr(start + open.size(), end - start - open.size()));
}

std::string GetMetaDescription(std::string_view content) {
    static constexpr std::string_view marker = "<META NAME=\"DESCRIPTION\" CONTENT=\"";
    const std::string upper = AsciiUpper(content);
    const std::size_t found = upper.find(marker);
    if (found == std::string::npos) {
        return {};
    }
    const std::size_t start = found + marker.size();
    const std::size_t quote = content.find('"', start);
    return std::string(content.substr(start, quote == std::string::npos ? quote : quote - start));
}

} // namespace zelmox

namespace zelmox {

std::string SingleLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

} // namespace zelmox
