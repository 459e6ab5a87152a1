#include "StoredPage.h"

#include <gtest/gtest.h>

namespace zelmox {
namespace {

TEST(StoredPageTest, BaseAddressGoesFirstInTheHeadUnlessThePageHasItsOwn) {
    const char* base = R"(<base href="http://h/a?x=1&amp;y=&quot;2&quot;">)";
    const struct {
        const char* page;
        std::string shown;
    } cases[] = {
        {"<!DOCTYPE html><html><head><title>t</title></head></html>",
         std::string("<!DOCTYPE html><html><head>") + base + "<title>t</title></head></html>"},
        {"<HTML lang=en><HEADER>x</HEADER>",
         std::string("<HTML lang=en>") + base + "<HEADER>x</HEADER>"},
        {"<!doctype html>\n<p>no head", std::string("<!doctype html>") + base + "\n<p>no head"},
        {"<body><head>late</head>", base + std::string("<body><head>late</head>")},
        {"plain text", base + std::string("plain text")},
        {"<head><BASE href=\"/own/\"></head>", "<head><BASE href=\"/own/\"></head>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithBaseAddress(c.page, "http://h/a?x=1&y=\"2\""), c.shown) << c.page;
    }
    EXPECT_EQ(WithBaseAddress("<head></head>", ""), "<head></head>");
}

} // namespace
} // namespace zelmox
