#pragma once

#include <atomic>
#include <functional>
#include <httplib.h>
#include <string>
#include <thread>

namespace zelmox::test {

// A real HTTP server on 127.0.0.1 at a free port, serving from its own thread for the life of the
// object. Tests register handlers on Server() before calling Start().
class LocalHttpServer {
public:
    explicit LocalHttpServer(std::string host = "127.0.0.1") : host_(std::move(host)) {}
    ~LocalHttpServer() { Stop(); }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    httplib::Server& Server() { return server_; }

    // Binds a free port and starts serving; false when no port could be bound.
    bool Start() {
        port_ = server_.bind_to_any_port(host_);
        if (port_ <= 0) {
            return false;
        }
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
        return true;
    }

    void Stop() {
        server_.stop();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    int Port() const { return port_; }
    // http://127.0.0.1:PORT followed by the path.
    std::string Url(const std::string& path) const {
        return "http://" + host_ + ":" + std::to_string(port_) + path;
    }

    // A page whose body is given by a function called on every request.
    void Page(const std::string& path, std::function<std::string()> body,
              const std::string& contentType = "text/html") {
        server_.Get(path, [body = std::move(body), contentType](const httplib::Request&,
                                                                httplib::Response& response) {
            response.set_content(body(), contentType);
        });
    }

private:
    std::string host_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

} // namespace zelmox::test
