#include "VisibleText.h"

#include "HtmlNesting.h"
#include "PageCharset.h"

#include <fstream>
#include <gumbo.h>
#include <iterator>
#include <memory>

namespace zelmox {

namespace {

bool IsHidden(GumboTag tag) {
    switch (tag) {
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_HEAD:
        return true;
    default:
        return false;
    }
}

bool IsBlock(GumboTag tag) {
    switch (tag) {
    case GUMBO_TAG_ADDRESS:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_BODY:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET:
    case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_MAIN:
    case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_OPTION:
    case GUMBO_TAG_P:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_UL:
        return true;
    default:
        return false;
    }
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Gathers the text of a tree into lines, collapsing white space as a browser lays it out.
class LineCollector {
public:
    void Visit(const GumboNode* node, bool preformatted) {
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_CDATA ||
            node->type == GUMBO_NODE_WHITESPACE) {
            AddText(node->v.text.text, preformatted);
            return;
        }
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_DOCUMENT) {
            return;
        }
        const GumboTag tag =
            node->type == GUMBO_NODE_ELEMENT ? node->v.element.tag : GUMBO_TAG_UNKNOWN;
        if (IsHidden(tag)) {
            return;
        }
        const bool block = IsBlock(tag);
        if (block) {
            EndLine();
        } else if (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH) {
            pendingSpace_ = true;
        }
        const GumboVector& children =
            node->type == GUMBO_NODE_ELEMENT ? node->v.element.children : node->v.document.children;
        for (unsigned i = 0; i < children.length; ++i) {
            Visit(static_cast<const GumboNode*>(children.data[i]),
                  preformatted || tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_TEXTAREA);
        }
        if (block) {
            EndLine();
        }
    }

    std::vector<std::string> Take() {
        EndLine();
        return std::move(lines_);
    }

private:
    void AddText(std::string_view text, bool preformatted) {
        for (const char c : text) {
            if (preformatted && c == '\n') {
                EndLine();
            } else if (IsSpace(c)) {
                pendingSpace_ = true;
            } else {
                if (pendingSpace_ && !current_.empty()) {
                    current_ += ' ';
                }
                pendingSpace_ = false;
                current_ += c;
            }
        }
    }

    void EndLine() {
        if (!current_.empty()) {
            lines_.push_back(std::move(current_));
            current_.clear();
        }
        pendingSpace_ = false;
    }

    std::vector<std::string> lines_;
    std::string current_;
    bool pendingSpace_ = false;
};

} // namespace

std::vector<std::string> VisibleLines(std::string_view page) {
    const std::string text = WithNestingBounded(PageAsUtf8(page));
    // The parser's error list copies its stack of open elements at every error; only the text is
    // wanted here.
    static const GumboOptions options = [] {
        GumboOptions textOnly = kGumboDefaultOptions;
        textOnly.max_errors = 0;
        return textOnly;
    }();
    const std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> tree(
        gumbo_parse_with_options(&options, text.data(), text.size()),
        [](GumboOutput* output) { gumbo_destroy_output(&options, output); });
    LineCollector collector;
    collector.Visit(tree->document, false);
    return collector.Take();
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace zelmox
