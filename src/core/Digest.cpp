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

namespace {

// Appends the text without its ">" bytes, which are never kept.
void AppendWithoutClosers(std::string& kept, std::string_view text) {
    for (std::size_t closer = text.find('>'); closer != std::string_view::npos;
         closer = text.find('>')) {
        kept.append(text.substr(0, closer));
        text.remove_prefix(closer + 1);
    }
    kept.append(text);
}

} // namespace

std::string ProcessNonTaggedContent(std::string_view content) {
    // Copied span by span into room reserved once: from each ">" that ends a tag to the next "<".
    std::string kept;
    kept.reserve(content.size());
    std::size_t closer = content.find('>');
    while (closer != std::string_view::npos) {
        const std::size_t start = closer + 1;
        const std::size_t opener = content.find('<', start);
        if (opener == std::string_view::npos) {
            AppendWithoutClosers(kept, content.substr(start));
            break;
        }
        AppendWithoutClosers(kept, content.substr(start, opener - start));
        closer = content.find('>', opener + 1);
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
