#include "FetchTestSupport.h"
#include "HttpClient.h"
#include "TempDir.h"

#include <filesystem>
#include <string>
#include <thread>

using namespace std::string_literals;

namespace zelmox::test {
namespace {

class HttpFetchTest : public WebFetchTest {};

TEST_F(HttpFetchTest, BodyArrivesAsSentWithoutDecoding) {
    // Not UTF-8, a NUL, and line breaks of every kind: none of it is touched.
    const std::string raw = "<p>caf\xe9 \xff\xfe\x80\0after nul\r\nCR LF\nLF\rCR</p>"s;
    // A gzip stream of "compressed page\n", labelled as such: it must not be unpacked.
    const std::string gzip = "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\x4b\xce\xcf\x2d\x28\x4a\x2d"
                             "\x2e\x4e\x4d\x51\x28\x48\x4c\x4f\xe5\x02\x00\xdd\x8b\x24\x79\x10\x00"
                             "\x00\x00"s;
    Answer("/raw", 200, raw, {{"Content-Type", "text/html; charset=iso-8859-1"}});
    Answer("/gzip", 200, gzip, {{"Content-Encoding", "gzip"}});
    // Taken in over many turns of the event loop, the transfer pausing between them.
    std::string large(24 << 20, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 7 + i / 4096);
    }
    Answer("/large", 200, large);
    Serve();

    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/raw")), raw));
    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/gzip")), gzip));
    const FetchResult whole = Fetch(client_, Url("/large"));
    EXPECT_TRUE(whole.ok && whole.content == large) << whole.content.size() << " bytes came";
    for (const httplib::Headers& headers : requests_.Headers("/gzip")) {
        const auto encodings = HeaderValues(headers, "Accept-Encoding");
        EXPECT_TRUE(encodings.empty() || encodings == std::vector<std::string>{"identity"})
            << ::testing::PrintToString(encodings);
    }
}

TEST_F(HttpFetchTest, RequestCarriesTheFixedHeadersAndNoConditions) {
    Answer("/page", 200, "page",
           {{"ETag", "\"v1\""}, {"Last-Modified", "Tue, 15 Nov 1994 12:45:26 GMT"}});
    Serve();

    ASSERT_TRUE(Succeeded(Fetch(client_, Url("/page")), "page"));
    ASSERT_TRUE(Succeeded(Fetch(client_, Url("/page")), "page"));

    EXPECT_EQ(requests_.Methods(), (std::vector<std::string>{"GET HTTP/1.1", "GET HTTP/1.1"}));
    for (const httplib::Headers& headers : requests_.Headers("/page")) {
        using Values = std::vector<std::string>;
        EXPECT_EQ(HeaderValues(headers, "Accept"), Values{"text/html, */*"});
        EXPECT_EQ(HeaderValues(headers, "Content-Type"), Values{"text/html"});
        EXPECT_EQ(HeaderValues(headers, "User-Agent"),
                  Values{"Mozilla/3.0 (compatible; Indy Library)"});
        // Every fetch downloads the page in full.
        EXPECT_EQ(headers.count("If-None-Match"), 0U);
        EXPECT_EQ(headers.count("If-Modified-Since"), 0U);
    }
}

TEST_F(HttpFetchTest, StatusOutside2xxFailsAndRedirectsAreNotFollowed) {
    Answer("/target", 200, "target page");
    Answer("/moved", 301, "moved", {{"Location", Url("/target")}});
    Answer("/found", 302, "found", {{"Location", "/target"}});
    Answer("/missing", 404, "<html>Not here</html>");
    Answer("/broken", 500, "<html>Oops</html>");
    Serve();

    for (const char* path : {"/moved", "/found", "/missing", "/broken"}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(Failed(Fetch(client_, Url(path))));
    }
    EXPECT_EQ(requests_.Count("/target"), 0);
}

TEST_F(HttpFetchTest, EmptyPageIsOkWithEmptyContent) {
    Answer("/empty", 200, "");
    Serve();
    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/empty")), ""));
}

TEST_F(HttpFetchTest, ExplicitPortWinsOverHttpPortSetting) {
    Answer("/where", 200, "addressed server");
    Serve();
    LocalHttpServer other;
    other.Page("/where", [] { return "other server"; });
    ASSERT_TRUE(other.Start());

    ConnectionSettings settings;
    settings.HTTPPort = other.Port();
    client_.ApplyConnectionSettings(settings);
    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/where")), "addressed server"));
}

TEST_F(HttpFetchTest, AddressWithoutPortGoesToPort80) {
    struct Port80 {
        httplib::Server server;
        std::thread thread;
        ~Port80() {
            server.stop();
            if (thread.joinable()) {
                thread.join();
            }
        }
    } port80;
    port80.server.Get("/where", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("port 80", "text/html");
    });
    if (!port80.server.bind_to_port("127.0.0.1", 80)) {
        GTEST_SKIP() << "127.0.0.1:80 cannot be bound here";
    }
    port80.thread = std::thread([&port80] { port80.server.listen_after_bind(); });
    Answer("/where", 200, "HTTPPort server");
    Serve();

    // Its own client, gone before the port 80 server, which would wait for its idle connection.
    HttpClient client;
    ConnectionSettings settings;
    settings.HTTPPort = server_.Port();
    client.ApplyConnectionSettings(settings);
    EXPECT_TRUE(Succeeded(Fetch(client, "http://127.0.0.1/where"), "port 80"));
}

TEST_F(HttpFetchTest, WwwWithoutSchemeIsAWebAddress) {
    EXPECT_EQ(FetchHost("www.example.com/x"), "www.example.com");
    EXPECT_EQ(FetchHost("http://127.0.0.1:8080/a"), "127.0.0.1");
    EXPECT_EQ(FetchHost("https://www.example.com:8443/"), "www.example.com");
    EXPECT_EQ(FetchHost("/home/user/page.html"), "");

    // A real local file whose path holds "www." is asked for on the web, and that fails at once.
    const TempDir dir;
    std::filesystem::create_directory(dir.File("www.site"));
    WriteFile(dir.File("www.site/page.html"), "local page");
    const FetchResult result = Fetch(client_, dir.File("www.site/page.html"));
    EXPECT_TRUE(Failed(result));
    EXPECT_LT(result.elapsedMs, 3000);
}

TEST_F(HttpFetchTest, CookiesGoBackOnlyToTheClientThatGotThem) {
    Answer("/set", 200, "set", {{"Set-Cookie", "session=abc123; Path=/"}});
    Answer("/check", 200, "check");
    Serve();

    ASSERT_TRUE(Succeeded(Fetch(client_, Url("/set")), "set"));
    ASSERT_TRUE(Succeeded(Fetch(client_, Url("/check")), "check"));
    HttpClient separate;
    ASSERT_TRUE(Succeeded(Fetch(separate, Url("/check")), "check"));

    const auto checks = requests_.Headers("/check");
    ASSERT_EQ(checks.size(), 2U);
    EXPECT_EQ(HeaderValues(checks[0], "Cookie"), std::vector<std::string>{"session=abc123"});
    EXPECT_EQ(HeaderValues(checks[1], "Cookie"), std::vector<std::string>{});
}

TEST_F(HttpFetchTest, ClosedPortFails) {
    int port = 0;
    {
        LocalHttpServer gone;
        ASSERT_TRUE(gone.Start());
        port = gone.Port();
    }
    const FetchResult result = Fetch(client_, "http://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_TRUE(Failed(result));
    EXPECT_LT(result.elapsedMs, 3000);
}

} // namespace
} // namespace zelmox::test
