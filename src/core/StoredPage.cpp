#include "StoredPage.h"

#include "Digest.h"

#include <cctype>

namespace zelmox {

namespace {

// Where the tag "<name" (not a longer name) starts in the upper-cased page, or npos.
std::size_t FindTag(const std::string& upper, std::string_view name, std::size_t limit) {
    for (std::size_t at = upper.find(name); at != std::string::npos && at < limit;
         at = upper.find(name, at + 1)) {
        const std::size_t next = at + name.size();
        if (next == upper.size() || upper[next] == '>' || upper[next] == '/' ||
            std::isspace(static_cast<unsigned char>(upper[next])) != 0) {
            return at;
        }
    }
    return std::string::npos;
}

std::string AttributeText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string WithBaseAddress(std::string_view page, std::string_view baseAddress) {
    const std::string upper = AsciiUpper(page);
    if (baseAddress.empty() || FindTag(upper, "<BASE", upper.size()) != std::string::npos) {
        return std::string(page);
    }
    // After the opening <head>, else <html>, else a leading doctype, else at the very start.
    const std::size_t body = FindTag(upper, "<BODY", upper.size());
    std::size_t insert = 0;
    for (const std::string_view tag : {"<HEAD", "<HTML", "<!DOCTYPE"}) {
        const std::size_t at = FindTag(upper, tag, body);
        const std::size_t close = at == std::string::npos ? at : upper.find('>', at);
        if (close != std::string::npos) {
            insert = close + 1;
            break;
        }
    }
    std::string shown(page.substr(0, insert));
    shown += "<base href=\"" + AttributeText(baseAddress) + "\">";
    shown += page.substr(insert);
    return shown;
}

} // namespace zelmox
