#include "HtmlNesting.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zelmox {

namespace {

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

std::string LowerName(std::string_view tag) {
    std::string name;
    for (const char c : tag) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            break;
        }
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

// Elements that never hold others, or that a parser ends as soon as a sibling starts.
bool NestsNothing(const std::string& name) {
    static constexpr std::array<std::string_view, 31> Names = {
        "area",  "base",  "br",       "col",      "embed", "hr",  "img",  "input",
        "link",  "meta",  "param",    "source",   "track", "wbr", "p",    "li",
        "dt",    "dd",    "option",   "optgroup", "tr",    "td",  "th",   "tbody",
        "thead", "tfoot", "colgroup", "rb",       "rt",    "rp",  "frame"};
    return std::find(Names.begin(), Names.end(), name) != Names.end();
}

// Elements whose contents are text up to their end tag, whatever they look like.
bool HoldsRawText(const std::string& name) {
    return name == "script" || name == "style" || name == "textarea" || name == "title" ||
           name == "xmp";
}

// Where the end tag of a raw-text element begins, or the end of the page.
std::size_t RawTextEnd(std::string_view page, std::size_t from, const std::string& name) {
    for (std::size_t at = page.find("</", from); at != std::string_view::npos;
         at = page.find("</", at + 2)) {
        if (LowerName(page.substr(at + 2, name.size() + 1)) == name) {
            return at;
        }
    }
    return page.size();
}

} // namespace

std::string WithNestingBounded(std::string_view page, int maxDepth) {
    std::string bounded;
    bounded.reserve(page.size());
    int depth = 0;
    std::size_t at = 0;
    while (at < page.size()) {
        const std::size_t open = page.find('<', at);
        bounded.append(page.substr(at, open == std::string_view::npos ? open : open - at));
        if (open == std::string_view::npos) {
            break;
        }
        const std::string_view rest = page.substr(open);
        const bool comment = rest.starts_with("<!--");
        const bool endTag = rest.size() > 2 && rest[1] == '/' && IsLetter(rest[2]);
        const bool startTag = rest.size() > 1 && IsLetter(rest[1]);
        if (!comment && !endTag && !startTag) {
            bounded += '<';
            at = open + 1;
            continue;
        }
        const std::size_t close = comment ? page.find("-->", open + 4) : page.find('>', open);
        const std::size_t end =
            close == std::string_view::npos ? page.size() : close + (comment ? 3 : 1);
        const std::string_view tag = page.substr(open, end - open);
        at = end;
        if (comment) {
            bounded.append(tag);
            continue;
        }
        const std::string name = LowerName(tag.substr(endTag ? 2 : 1));
        if (HoldsRawText(name) || NestsNothing(name) || (startTag && tag.ends_with("/>"))) {
            bounded.append(tag);
            if (startTag && HoldsRawText(name)) {
                const std::size_t textEnd = RawTextEnd(page, at, name);
                bounded.append(page.substr(at, textEnd - at));
                at = textEnd;
            }
            continue;
        }
        if (startTag) {
            ++depth;
        }
        if (depth <= maxDepth) {
            bounded.append(tag);
        }
        if (endTag) {
            depth = std::max(0, depth - 1);
        }
    }
    return bounded;
}

} // namespace zelmox
