#include "FetchTestSupport.h"
#include "HttpClient.h"
#include "TempDir.h"

#include <QPointer>
#include <arpa/inet.h>
#include <atomic>
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
// connection (with a reset, when asked): one that dies in the middle of a body.
class CutOffServer {
public:
    explicit CutOffServer(std::string response, bool reset = false)
        : response_(std::move(response)), reset_(reset) {}
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
            if (reset_) {
                const linger abortive{1, 0};
                ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof(abortive));
            }
            ::close(connection);
        }
    }

    std::string response_;
    bool reset_;
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
// client: one that checks the framing of the body fails every time. Only a body without length or
// chunks may end with the connection, and only with an orderly close.
TEST(BrokenConnection, BodyThatDidNotEndAsItsFramingSaysFails) {
    const struct {
        const char* name;
        std::string response;
        bool reset;
        bool whole;
    } cases[] = {
        {"shorter than its length", "Content-Length: 5000\r\n\r\nonly part of it", false, false},
        {"chunked without its last chunk",
         "Transfer-Encoding: chunked\r\n\r\n5\r\nfirst\r\n6\r\nsecond\r\n", false, false},
        {"without length, ended by a reset", "\r\nwhole page", true, false},
        {"without length, ended by a close", "\r\nwhole page", false, true},
    };
    for (const auto& c : cases) {
        for (int attempt = 1; attempt <= 30; ++attempt) {
            SCOPED_TRACE(std::string(c.name) + ", attempt " + std::to_string(attempt));
            CutOffServer server("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n" + c.response,
                                c.reset);
            ASSERT_TRUE(server.Start());
            HttpClient client;
            const FetchResult result = Fetch(client, server.Url());
            EXPECT_TRUE(c.whole ? Succeeded(result, "whole page") : Failed(result));
        }
    }
}

TEST_F(HttpLimitsTest, PageTricklingPastTheOverallLimitFails) {
    client_.SetOverallTimeout(1500);
    // Never silent for long, and ten seconds in all.
    Trickle("/trickle", std::vector<std::string>(100, "x"), 100ms);
    Serve();

    const FetchResult result = Fetch(client_, Url("/trickle"));
    EXPECT_TRUE(Failed(result));
    EXPECT_GE(result.elapsedMs, 1400);
    EXPECT_LT(result.elapsedMs, 5000);
}

TEST_F(HttpLimitsTest, BodyWithoutLengthIsNotReadFarPastTheCap) {
    constexpr qint64 Cap = 1 << 20;
    client_.SetMaxBodyBytes(Cap);
    std::atomic<qint64> sent{0};
    Http().Get("/flood", [&sent](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/html",
                                              [&sent](size_t, httplib::DataSink& sink) {
                                                  const std::string piece(64 * 1024, 'f');
                                                  while (sink.write(piece.data(), piece.size())) {
                                                      sent += static_cast<qint64>(piece.size());
                                                  }
                                                  return false;
                                              });
    });
    Serve();

    // The thread stays busy a while after the start, as a window drawing does: meanwhile nothing
    // may take in the page beyond what the sockets hold.
    EXPECT_TRUE(Failed(Fetch(client_, Url("/flood"), 10'000, 500)));
    EXPECT_LT(sent.load(), Cap + 32 * 1024 * 1024);
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
