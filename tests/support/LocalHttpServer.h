#pragma once

#include <atomic>
#include <functional>
#include <httplib.h>
#include <string>
#include <thread>

namespace zelmox::test {

// Binds a free port on host and serves from thread until StopServing; the port, or 0 when none
// could be bound.
inline int StartServing(httplib::Server& server, const std::string& host, std::thread& thread) {
    const int port = server.bind_to_any_port(host);
    if (port <= 0) {
        return 0;
    }
    thread = std::thread([&server] { server.listen_after_bind(); });
    while (!server.is_running()) {
        std::this_thread::yield();
    }
    return port;
}

inline void StopServing(httplib::Server& server, std::thread& thread) {
    server.stop();
    if (thread.joinable()) {
        thread.join();
    }
}

// A real HTTP server on 127.0.0.1 at a free port, serving from its own thread for the life of the
// object. Tests register handlers on Server() before calling Start().
class LocalHttpServer {
public:
    // Headers and body go out in separate sends: without TCP_NODELAY a reused connection would
    // wait for the client's delayed acknowledgement (40 ms) at every request.
    explicit LocalHttpServer(std::string host = "127.0.0.1") : host_(std::move(host)) {
        server_.set_tcp_nodelay(true);
    }
    ~LocalHttpServer() { Stop(); }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    httplib::Server& Server() { return server_; }

    // Binds a free port and starts serving; false when no port could be bound.
    bool Start() {
        port_ = StartServing(server_, host_, thread_);
        return port_ > 0;
    }

    void Stop() { StopServing(server_, thread_); }

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
