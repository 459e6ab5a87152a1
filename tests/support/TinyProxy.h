#pragma once

#include "TempDir.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zelmox::test {

// A real HTTP proxy (tinyproxy) on 127.0.0.1 at a free port, running in the foreground as a child
// of the test process for the life of the object. With a user name it demands HTTP basic
// authentication. It names itself ViaName in the Via header it adds to every forwarded request,
// which lets an origin server tell proxied requests from direct ones.
class TinyProxy {
public:
    static constexpr const char* Program = "/usr/bin/tinyproxy";
    static constexpr const char* ViaName = "zelmox-test-proxy";

    TinyProxy() = default;
    TinyProxy(std::string user, std::string password)
        : user_(std::move(user)), password_(std::move(password)) {}
    ~TinyProxy() { Stop(); }
    TinyProxy(const TinyProxy&) = delete;
    TinyProxy& operator=(const TinyProxy&) = delete;

    // Starts the proxy and waits (at most about 5 s) until it accepts connections; false when it
    // could not be started. A port taken by someone else between choosing and binding it makes
    // tinyproxy exit, so a few ports are tried.
    bool Start() {
        for (int attempt = 0; attempt < 3; ++attempt) {
            port_ = FreePort();
            if (port_ <= 0 || !WriteConfig() || !Spawn()) {
                continue;
            }
            if (WaitUntilListening(std::chrono::seconds(5))) {
                return true;
            }
            Stop();
        }
        return false;
    }

    // SIGTERM, then SIGKILL if it has not gone after a while.
    void Stop() {
        if (pid_ <= 0) {
            return;
        }
        ::kill(pid_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!Exited() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

    int Port() const { return port_; }

    // The requests tinyproxy has read from its clients so far (authenticated or not).
    int RequestCount() const {
        const std::string log = ReadFile(LogPath());
        int count = 0;
        for (std::size_t at = log.find(RequestMark); at != std::string::npos;
             at = log.find(RequestMark, at + 1)) {
            ++count;
        }
        return count;
    }

    // Its log and whatever it wrote to standard error, for failure messages.
    std::string Log() const { return ReadFile(LogPath()) + ReadFile(dir_.File("output")); }

private:
    static constexpr const char* RequestMark = "]: Request (file descriptor";

    std::string LogPath() const { return dir_.File("tinyproxy.log"); }

    static int FreePort() {
        const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (sock < 0) {
            return -1;
        }
        sockaddr_in address = LoopbackAddress(0);
        socklen_t length = sizeof(address);
        int port = -1;
        if (::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port = ntohs(address.sin_port);
        }
        ::close(sock);
        return port;
    }

    static sockaddr_in LoopbackAddress(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    // Without a User line tinyproxy keeps the identity it was started with (as root it only warns
    // about that), so the log in our private temp folder stays writable for it.
    bool WriteConfig() {
        std::string config = "Port " + std::to_string(port_) +
                             "\n"
                             "Listen 127.0.0.1\n"
                             "Timeout 30\n"
                             "MaxClients 20\n"
                             "Allow 127.0.0.1\n"
                             "LogLevel Info\n"
                             "LogFile \"" +
                             LogPath() +
                             "\"\n"
                             "PidFile \"" +
                             dir_.File("tinyproxy.pid") +
                             "\"\n"
                             "ViaProxyName \"" +
                             ViaName + "\"\n";
        if (!user_.empty()) {
            config += "BasicAuth " + user_ + " " + password_ + "\n";
        }
        WriteFile(ConfigPath(), config);
        WriteFile(LogPath(), "");
        return ReadFile(ConfigPath()) == config;
    }

    std::string ConfigPath() const { return dir_.File("tinyproxy.conf"); }

    bool Spawn() {
        const std::string config = ConfigPath();
        const std::string output = dir_.File("output");
        std::vector<std::string> args{Program, "-d", "-c", config};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (devNull < 0 || out < 0) {
            CloseIfOpen(devNull);
            CloseIfOpen(out);
            return false;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Only async-signal-safe calls from here on. The proxy must not outlive a test
            // process that dies, nor hold on to its sockets.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::dup2(devNull, 0);
            ::dup2(out, 1);
            ::dup2(out, 2);
            ::close_range(3, ~0U, 0);
            ::execv(Program, argv.data());
            ::_exit(127);
        }
        ::close(devNull);
        ::close(out);
        pid_ = pid;
        return pid > 0;
    }

    static void CloseIfOpen(int fd) {
        if (fd >= 0) {
            ::close(fd);
        }
    }

    bool WaitUntilListening(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (Exited()) {
                return false;
            }
            // The log line comes after listen(); the connection proves the port is really ours.
            if (ReadFile(LogPath()).find("Accepting connections") != std::string::npos &&
                Connects()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    bool Connects() const {
        const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (sock < 0) {
            return false;
        }
        sockaddr_in address = LoopbackAddress(port_);
        const bool connected =
            ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
        ::close(sock);
        return connected;
    }

    bool Exited() {
        if (pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
        }
        return pid_ <= 0;
    }

    std::string user_;
    std::string password_;
    TempDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

} // namespace zelmox::test
