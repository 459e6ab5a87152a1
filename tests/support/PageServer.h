#pragma once

#include "LocalHttpServer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace zelmox::test {

// What the test server answers for one path.
struct PageReply {
    int Status = 200;
    std::string Body;
    int DelayMs = 0;
    std::string Location;

    static PageReply Ok(std::string body, int delayMs = 0) {
        return {200, std::move(body), delayMs, {}};
    }
    static PageReply Error(int status, std::string body) {
        return {status, std::move(body), 0, {}};
    }
    static PageReply Redirect(int status, std::string location) {
        return {status, "moved", 0, std::move(location)};
    }
};

// The local HTTP server with pages the tests change between scans. Every path counts its hits, and
// the server keeps track of how many requests it is handling at once.
class PageServer {
public:
    PageServer() {
        // Enough workers that idle kept-alive connections never hold up a request.
        http_.Server().new_task_queue = [] { return new httplib::ThreadPool(32); };
        http_.Server().set_keep_alive_timeout(1);
        http_.Server().Get(".*", [this](const httplib::Request& request,
                                        httplib::Response& response) { Serve(request, response); });
        started_ = http_.Start();
    }
    ~PageServer() {
        stopping_ = true;
        http_.Stop();
    }

    bool Started() const { return started_; }
    std::string Url(const std::string& path) const { return http_.Url(path); }

    // The reply of a path may depend on how often the path was asked for (1 for the first hit).
    void Route(const std::string& path, std::function<PageReply(int hit)> reply) {
        const std::lock_guard lock(mutex_);
        routes_[path] = std::move(reply);
    }
    void SetReply(const std::string& path, PageReply reply) {
        Route(path, [reply](int) { return reply; });
    }
    void SetBody(const std::string& path, const std::string& body, int delayMs = 0) {
        SetReply(path, PageReply::Ok(body, delayMs));
    }
    // Replies in turn, one a request; the last one answers every later request.
    void SetReplies(const std::string& path, std::vector<PageReply> replies) {
        Route(path, [replies = std::move(replies)](int hit) {
            return replies[std::min<std::size_t>(static_cast<std::size_t>(hit), replies.size()) -
                           1];
        });
    }
    // Every request of every path waits a random time up to this many milliseconds.
    void SetJitter(int maxMs) { jitterMs_ = maxMs; }

    int Hits(const std::string& path) const {
        const std::lock_guard lock(mutex_);
        const auto found = hits_.find(path);
        return found == hits_.end() ? 0 : found->second;
    }
    int TotalHits() const {
        const std::lock_guard lock(mutex_);
        int total = 0;
        for (const auto& [path, count] : hits_) {
            total += count;
        }
        return total;
    }
    int MostAtOnce() const { return mostAtOnce_; }
    void ResetCounters() {
        const std::lock_guard lock(mutex_);
        hits_.clear();
        mostAtOnce_ = 0;
    }

private:
    void Serve(const httplib::Request& request, httplib::Response& response) {
        const int now = ++atOnce_;
        int most = mostAtOnce_.load();
        while (now > most && !mostAtOnce_.compare_exchange_weak(most, now)) {
        }
        PageReply reply = PageReply::Error(404, "no such page");
        int jitter = 0;
        {
            const std::lock_guard lock(mutex_);
            const int hit = ++hits_[request.path];
            const auto found = routes_.find(request.path);
            if (found != routes_.end()) {
                reply = found->second(hit);
            }
            if (jitterMs_ > 0) {
                jitter = std::uniform_int_distribution<int>(0, jitterMs_)(random_);
            }
        }
        Sleep(reply.DelayMs + jitter);
        response.status = reply.Status;
        if (!reply.Location.empty()) {
            response.set_header("Location", reply.Location);
        }
        response.set_content(reply.Body, "text/html");
        --atOnce_;
    }

    // Sleeps in small steps so that stopping the server never waits out a slow page.
    void Sleep(int milliseconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (!stopping_ && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    LocalHttpServer http_;
    bool started_ = false;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::function<PageReply(int)>> routes_;
    std::map<std::string, int> hits_;
    std::atomic<int> jitterMs_{0};
    std::mt19937 random_{std::random_device{}()};
    std::atomic<int> atOnce_{0};
    std::atomic<int> mostAtOnce_{0};
};

} // namespace zelmox::test
