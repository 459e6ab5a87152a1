#include "Digest.h"

#include <memory>
#include <openssl/evp.h>

namespace zelmox {

Digest MD5String(std::string_view text) {
    Digest digest{};
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    unsigned int length = 0;
    if (context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) == 1 &&
        EVP_DigestUpdate(context.get(), text.data(), text.size()) == 1) {
        EVP_DigestFinal_ex(context.get(), digest.data(), &length);
    }
    return digest;
}

std::string MD5Print(const Digest& digest) {
    static constexpr char hexDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(digest.size() * 2);
    for (const unsigned char byte : digest) {
        text.push_back(hexDigits[byte >> 4]);
        text.push_back(hexDigits[byte & 0x0f]);
    }
    return text;
}

std::string ProcessNonTaggedContent(std::string_view content) {
    std::string kept;
    bool outside = false;
    for (const char byte : content) {
        if (byte == '<') {
            outside = false;
        } else if (byte == '>') {
            outside = true;
        } else if (outside) {
            kept.push_back(byte);
        }
    }
    return MD5Print(MD5String(kept));
}

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

bool ProcessKeywords(std::string_view content, const std::vector<std::string>& keywords) {
    const std::string text = AsciiUpper(content);
    bool found = false;
    for (const std::string& keyword : keywords) {
        if (!keyword.empty() && text.find(AsciiUpper(keyword)) != std::string::npos) {
            found = true;
        }
    }
    return found;
}

} // namespace zelmox
