#include "PageCharset.h"

#include "Digest.h"

#include <array>
#include <cctype>

namespace zelmox {

namespace {

constexpr std::size_t DeclarationWindow = 1024;

// Bytes 0x80..0x9F of Windows-1252; the rest of the upper half is Latin-1.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The charset named after "charset=" in the page's first bytes, in upper case; empty when none.
std::string DeclaredCharset(std::string_view page) {
    const std::string head = AsciiUpper(page.substr(0, DeclarationWindow));
    const std::size_t found = head.find("CHARSET=");
    if (found == std::string::npos) {
        return {};
    }
    std::size_t start = found + 8;
    while (start < head.size() &&
           (head[start] == '"' || head[start] == '\'' || head[start] == ' ')) {
        ++start;
    }
    std::size_t end = start;
    while (end < head.size() && (std::isalnum(static_cast<unsigned char>(head[end])) != 0 ||
                                 head[end] == '-' || head[end] == '_')) {
        ++end;
    }
    return head.substr(start, end - start);
}

bool IsLatin1Family(const std::string& name) {
    return name == "WINDOWS-1252" || name == "ISO-8859-1" || name == "ISO8859-1" ||
           name == "LATIN1" || name == "CP1252" || name == "US-ASCII" || name == "ASCII";
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : byte);
    }
    return out;
}

Charset PageCharset(std::string_view page) {
    const std::string declared = DeclaredCharset(page);
    if (IsLatin1Family(declared)) {
        return Charset::Windows1252;
    }
    return IsValidUtf8(page) ? Charset::Utf8 : Charset::Windows1252;
}

bool DeclaresOtherCharset(std::string_view page) {
    const std::string declared = DeclaredCharset(page);
    return !declared.empty() && declared != "UTF-8" && declared != "UTF8" &&
           !IsLatin1Family(declared);
}

std::string PageAsUtf8(std::string_view page) {
    return PageCharset(page) == Charset::Utf8 ? std::string(page) : Windows1252ToUtf8(page);
}

const char* CharsetName(Charset charset) {
    return charset == Charset::Utf8 ? "utf-8" : "windows-1252";
}

} // namespace zelmox
