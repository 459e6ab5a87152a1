#include "Digest.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace zelmox {
namespace {

std::string Md5Text(std::string_view text) {
    return MD5Print(MD5String(text));
}

TEST(DigestTest, MatchesRfc1321TestSuiteInLowerCase) {
    const std::pair<std::string_view, std::string_view> vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, expected] : vectors) {
        EXPECT_EQ(Md5Text(text), expected) << "text: " << text;
    }
}

TEST(DigestTest, CoversEveryByteIncludingNul) {
    const std::string withNul("a\0b", 3);
    EXPECT_NE(Md5Text(withNul), Md5Text("a"));
    EXPECT_NE(Md5Text("line\r\n"), Md5Text("line\n"));
}

TEST(NonTaggedContentTest, KeepsOnlyBytesAfterAClosingBracket) {
    EXPECT_EQ(ProcessNonTaggedContent("Hello<b>World</b>!"), Md5Text("World!"));
    EXPECT_EQ(ProcessNonTaggedContent("<p>a < b and c > d"), Md5Text("a  d"));
    // A ">" outside a tag is dropped and a "<" hides everything up to the next ">".
    EXPECT_EQ(ProcessNonTaggedContent("x>a>b<c>d<<e>>f<"), Md5Text("abdf"));

    const std::string empty = Md5Text("");
    EXPECT_EQ(ProcessNonTaggedContent("no brackets at all"), empty);
    EXPECT_EQ(ProcessNonTaggedContent("<p>"), empty);
    EXPECT_EQ(ProcessNonTaggedContent(""), empty);
}

TEST(NonTaggedContentTest, IgnoresTagInsidesButNotSpaceBetweenTags) {
    const std::string base = ProcessNonTaggedContent("<p class=a>Text</p><!-- one --><i>x</i>");
    EXPECT_EQ(ProcessNonTaggedContent("<P CLASS=\"b\" id=7>Text</P><!-- two --><I>x</I>"), base);
    EXPECT_NE(ProcessNonTaggedContent("<p class=a>Text</p> <!-- one --><i>x</i>"), base);
    EXPECT_NE(ProcessNonTaggedContent("<p class=a>Text</p>\r\n<!-- one --><i>x</i>"), base);
    EXPECT_NE(ProcessNonTaggedContent("<p class=a>text</p><!-- one --><i>x</i>"), base);
}

TEST(KeywordTest, MatchesSubstringsFoldingOnlyAsciiLetters) {
    EXPECT_TRUE(ProcessKeywords("TODAY'S PRICE", {"price"}));
    EXPECT_TRUE(ProcessKeywords("Prices drop", {"price"}));
    EXPECT_TRUE(ProcessKeywords("Concatenate", {"cat"}));
    EXPECT_TRUE(ProcessKeywords("big SALE", {"none", "sAlE"}));
    EXPECT_FALSE(ProcessKeywords("pric e", {"price"}));

    // "\xc3\xa9" and "\xc3\x89" are the UTF-8 bytes of a small and a capital e with acute.
    EXPECT_TRUE(ProcessKeywords("caf\xc3\xa9", {"CAF\xc3\xa9"}));
    EXPECT_FALSE(ProcessKeywords("CAF\xc3\x89", {"caf\xc3\xa9"}));
}

TEST(KeywordTest, EmptyKeywordsNeverMatch) {
    EXPECT_TRUE(ProcessKeywords("xfoox", {"foo", ""}));
    EXPECT_TRUE(ProcessKeywords("xfoox", {"", "foo"}));
    EXPECT_FALSE(ProcessKeywords("xfoox", {""}));
    EXPECT_FALSE(ProcessKeywords("xfoox", {}));
    EXPECT_FALSE(ProcessKeywords("", {""}));
}

} // namespace
} // namespace zelmox
