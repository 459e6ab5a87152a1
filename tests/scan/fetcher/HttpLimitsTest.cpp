#include "FetchTestSupport.h"
#include "HttpClient.h"
#include "TempDir.h"

#include <QPointer>
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace zelmox::test {
namespace {

// A server that answers every request with the same bytes and, a moment later, drops the
// connection: one that dies in the middle of a body.
class CutOffServer {
public:
    explicit CutOffServer(std::string response) : response_(std::move(response)) {}
    ~CutOffServer() {
        if (listener_ < 0) {
            return;
        }
        ::shutdown(listener_, SHUT_RDWR); // wakes accept()
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(listener_);
    }
    CutOffServer(const CutOffServer&) = delete;
    CutOffServer& operator=(const CutOffServer&) = delete;

    bool Start() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(listener_, 8) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return false;
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
        return true;
    }

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    void Serve() {
        for (;;) {
            const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) {
                return;
            }
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t got = ::recv(connection, buffer, sizeof(buffer), 0);
                if (got <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(got));
            }
            ::send(connection, response_.data(), response_.size(), MSG_NOSIGNAL);
            std::this_thread::sleep_for(20ms);
            ::close(connection);
        }
    }

    std::string response_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// Time-outs, the body cap, broken connections and aborts.
class HttpLimitsTest : public WebFetchTest {
protected:
    static constexpr int TimeoutMs = 500;

    HttpLimitsTest() { client_.SetInactivityTimeout(TimeoutMs); }

    // A chunked page (no Content-Length) sending the pieces with a pause between them.
    void Trickle(const std::string& path, std::vector<std::string> pieces,
                 std::chrono::milliseconds pause) {
        Http().Get(path, [this, pieces, pause](const httplib::Request& request,
                                               httplib::Response& response) {
            requests_.Add(request);
            response.set_chunked_content_provider(
                "text/html", [this, pieces, pause](size_t, httplib::DataSink& sink) {
                    for (std::size_t i = 0; i < pieces.size(); ++i) {
                        if ((i > 0 && !stall_.For(pause)) ||
                            !sink.write(pieces[i].data(), pieces[i].size())) {
                            return false;
                        }
                    }
                    sink.done();
                    return true;
                });
        });
    }
};

TEST_F(HttpLimitsTest, SilenceLongerThanTheTimeoutFails) {
    // Nothing at all, not even the status line.
    Http().Get("/mute", [this](const httplib::Request&, httplib::Response& response) {
        stall_.For(5s);
        response.set_content("too late", "text/html");
    });
    // A good start, then silence in the middle of the body.
    Trickle("/stalls", {"start ", "end"}, 5s);
    Serve();

    for (const char* path : {"/mute", "/stalls"}) {
        SCOPED_TRACE(path);
        const FetchResult result = Fetch(client_, Url(path));
        EXPECT_TRUE(Failed(result));
        EXPECT_LT(result.elapsedMs, 4000);
    }
}

TEST_F(HttpLimitsTest, SteadyTrickleOutlastsTheTimeout) {
    const std::vector<std::string> pieces{"one ",  "two ", "three ", "four ",
                                          "five ", "six ", "seven ", "eight"};
    Trickle("/steady", pieces, 200ms);
    Serve();

    const FetchResult result = Fetch(client_, Url("/steady"));
    EXPECT_TRUE(Succeeded(result, "one two three four five six seven eight"));
    EXPECT_GT(result.elapsedMs, 2 * TimeoutMs);
}

TEST_F(HttpLimitsTest, BodyOverTheCapFailsWithOrWithoutLength) {
    client_.SetMaxBodyBytes(1000);
    Answer("/1000", 200, std::string(1000, 'a'));
    Answer("/1001", 200, std::string(1001, 'b'));
    Answer("/5000", 200, std::string(5000, 'c'));
    Trickle("/chunked1000", {std::string(600, 'd'), std::string(400, 'd')}, 0ms);
    Trickle("/chunked5000", std::vector<std::string>(5, std::string(1000, 'e')), 0ms);
    // Never ends: the fetch must give up once the cap is passed, not wait for the end.
    Http().Get("/endless", [this](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html", [this](size_t, httplib::DataSink& sink) {
            const std::string piece(100, 'f');
            while (sink.write(piece.data(), piece.size()) && stall_.For(5ms)) {
            }
            return false;
        });
    });
    Serve();

    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/1000")), std::string(1000, 'a')));
    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/chunked1000")), std::string(1000, 'd')));
    for (const char* path : {"/1001", "/5000", "/chunked5000", "/endless"}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(Failed(Fetch(client_, Url(path), 5000)));
    }
}

// Whether a client notices a broken connection depends on how the data and the close reach it
// (which varies from run to run), so each case is tried many times, each with a new server and
// client: one that checks the framing of the body fails every time.
void ExpectEveryCutOffFetchFails(const std::string& response) {
    for (int attempt = 1; attempt <= 30; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        CutOffServer server("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n" + response);
        ASSERT_TRUE(server.Start());
        HttpClient client;
        EXPECT_TRUE(Failed(Fetch(client, server.Url())));
    }
}

TEST(BrokenConnection, BodyShorterThanItsLengthFails) {
    ExpectEveryCutOffFetchFails("Content-Length: 5000\r\n\r\nonly part of it");
}

// Known limit: Qt's network reply does not tell whether the closing chunk of a chunked body
// arrived, and at times ends a broken-off body without an error. Kept so that it runs again once
// the client can tell.
TEST(BrokenConnection, DISABLED_ChunkedBodyWithoutItsLastChunkFails) {
    ExpectEveryCutOffFetchFails("Transfer-Encoding: chunked\r\n\r\n5\r\nfirst\r\n6\r\nsecond\r\n");
}

TEST_F(HttpLimitsTest, AbortedFetchReportsNothingAndGoesAway) {
    Http().Get("/slow", [this](const httplib::Request& request, httplib::Response& response) {
        requests_.Add(request);
        stall_.For(5s);
        response.set_content("slow", "text/html");
    });
    Serve();
    const TempDir dir;
    WriteFile(dir.File("local.txt"), "local");

    for (const std::string& address : {Url("/slow"), dir.File("local.txt")}) {
        SCOPED_TRACE(address);
        QPointer<ContentFetch> fetch = client_.FetchContent(QByteArray::fromStdString(address));
        QSignalSpy spy(fetch.data(), &ContentFetch::Finished);
        if (address == Url("/slow")) {
            // Really in flight: the server holds the request.
            ASSERT_TRUE(WaitUntil([this] { return requests_.Count("/slow") == 1; }));
        }
        fetch->Abort();
        EXPECT_TRUE(WaitUntil([&fetch] { return fetch.isNull(); }, 2000));
        EXPECT_FALSE(spy.wait(300));
        EXPECT_EQ(spy.count(), 0);
    }
}

} // namespace
} // namespace zelmox::test
