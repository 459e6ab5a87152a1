#pragma once

#include "ContentFetch.h"
#include "HttpClient.h"
#include "LocalHttpServer.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <httplib.h>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace zelmox::test {

// What one fetch reported, and when.
struct FetchResult {
    bool finished = false; // Finished arrived within the limit
    bool ok = false;
    std::string content;
    qint64 elapsedMs = 0;
};

inline void PrintTo(const FetchResult& result, std::ostream* out) {
    *out << (result.finished ? (result.ok ? "ok" : "failed") : "unfinished") << " after "
         << result.elapsedMs << " ms with " << ::testing::PrintToString(result.content);
}

// Starts a fetch and waits (bounded) for its one report; a fetch still running then is aborted.
// With busyMs the thread first does nothing else for that long, as one busy drawing would.
inline FetchResult Fetch(ContentSource& source, const std::string& address, int limitMs = 10'000,
                         int busyMs = 0) {
    QElapsedTimer timer;
    timer.start();
    const QPointer<ContentFetch> fetch = source.FetchContent(QByteArray::fromStdString(address));
    QSignalSpy spy(fetch.data(), &ContentFetch::Finished);
    std::this_thread::sleep_for(std::chrono::milliseconds(busyMs));
    FetchResult result;
    result.finished = spy.wait(limitMs);
    result.elapsedMs = timer.elapsed();
    if (!result.finished && fetch) {
        fetch->Abort();
    }
    if (result.finished) {
        const QList<QVariant> arguments = spy.takeFirst();
        result.ok = arguments.at(0).toBool();
        result.content = arguments.at(1).toByteArray().toStdString();
    }
    return result;
}

// Runs the event loop (deferred deletions included) until the condition holds; false when it
// still does not after the limit.
template <typename Condition> bool WaitUntil(Condition condition, int limitMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limitMs) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

inline ::testing::AssertionResult Succeeded(const FetchResult& result, const std::string& content) {
    if (result.finished && result.ok && result.content == content) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected ok with " << ::testing::PrintToString(content)
                                         << ", got " << ::testing::PrintToString(result);
}

// A failure reports no content.
inline ::testing::AssertionResult Failed(const FetchResult& result) {
    if (result.finished && !result.ok && result.content.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "expected a failure, got " << ::testing::PrintToString(result);
}

// The requests a server's handlers have seen; the handlers run on the server's threads.
class RequestLog {
public:
    void Add(const httplib::Request& request) {
        const std::lock_guard lock(mutex_);
        requests_[request.path].push_back(request.headers);
        methods_.push_back(request.method + " " + request.version);
    }

    int Count(const std::string& path) const {
        const std::lock_guard lock(mutex_);
        const auto found = requests_.find(path);
        return found == requests_.end() ? 0 : static_cast<int>(found->second.size());
    }

    // The headers of the path's requests, oldest first.
    std::vector<httplib::Headers> Headers(const std::string& path) const {
        const std::lock_guard lock(mutex_);
        const auto found = requests_.find(path);
        return found == requests_.end() ? std::vector<httplib::Headers>{} : found->second;
    }

    // "GET HTTP/1.1" and the like, one per request.
    std::vector<std::string> Methods() const {
        const std::lock_guard lock(mutex_);
        return methods_;
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<httplib::Headers>> requests_;
    std::vector<std::string> methods_;
};

// All values of one header, in the order sent.
inline std::vector<std::string> HeaderValues(const httplib::Headers& headers,
                                             const std::string& name) {
    std::vector<std::string> values;
    const auto [first, last] = headers.equal_range(name);
    for (auto it = first; it != last; ++it) {
        values.push_back(it->second);
    }
    return values;
}

// Lets slow handlers wait without holding up the end of a test: they wake when the test is over.
class Stall {
public:
    // Sleeps for the given time; false when cut short by Release.
    bool For(std::chrono::milliseconds time) {
        std::unique_lock lock(mutex_);
        return !released_.wait_for(lock, time, [this] { return done_; });
    }

    void Release() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool done_ = false;
};

// A client and a local web server whose pages record the requests they answer. Tests add pages,
// then call Serve().
class WebFetchTest : public ::testing::Test {
protected:
    // Slow handlers must wake before the server, which waits for them, is stopped.
    ~WebFetchTest() override { stall_.Release(); }

    void Serve() { ASSERT_TRUE(server_.Start()); }
    std::string Url(const std::string& path) const { return server_.Url(path); }
    httplib::Server& Http() { return server_.Server(); }

    // A page answering with a fixed status, body and extra headers.
    void Answer(const std::string& path, int status, std::string body,
                httplib::Headers headers = {}) {
        Http().Get(path, [this, status, body = std::move(body), headers = std::move(headers)](
                             const httplib::Request& request, httplib::Response& response) {
            requests_.Add(request);
            response.status = status;
            for (const auto& [name, value] : headers) {
                response.set_header(name, value);
            }
            response.set_content(body, "text/html");
        });
    }

    Stall stall_;
    RequestLog requests_;
    LocalHttpServer server_;
    HttpClient client_;
};

} // namespace zelmox::test
