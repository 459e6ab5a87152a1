// Times zelmox-cli scanning pages that answer after a delay, one page at a time and with the
// default number of fetches in flight, and times each change rule on a 10 MiB page against
// md5sum over the same bytes. Run by hand:
//   build/bench/scan/scan_bench [watches=200] [hosts=8] [delay-ms=50]
#include "Digest.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <httplib.h>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct RunResult {
    double WallMs = 0;
    long PeakKb = 0;
    int Status = -1;
};

// Runs a program to its end with its output thrown away; wall time and peak memory of the child.
RunResult Run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    RunResult result;
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        result.WallMs = MillisecondsSince(start);
        result.PeakKb = usage.ru_maxrss;
        result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

// One slow server per loopback address.
class SlowHosts {
public:
    SlowHosts(int hosts, int delayMs) {
        for (int host = 1; host <= hosts; ++host) {
            auto server = std::make_unique<httplib::Server>();
            server->new_task_queue = [] { return new httplib::ThreadPool(16); };
            // Headers and body go out in separate sends: without this every reused connection
            // would wait for the client's delayed acknowledgement.
            server->set_tcp_nodelay(true);
            server->Get(R"(/page/(\d+))", [delayMs](const httplib::Request& request,
                                                    httplib::Response& response) {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                response.set_content(
                    "<html><body>page " + request.matches[1].str() + "</body></html>", "text/html");
            });
            const std::string address = "127.0.0." + std::to_string(host);
            const int port = server->bind_to_any_port(address);
            urls_.push_back("http://" + address + ":" + std::to_string(port));
            threads_.emplace_back([raw = server.get()] { raw->listen_after_bind(); });
            servers_.push_back(std::move(server));
        }
        for (const auto& server : servers_) {
            while (!server->is_running()) {
                std::this_thread::yield();
            }
        }
    }
    ~SlowHosts() {
        for (const auto& server : servers_) {
            server->stop();
        }
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }
    const std::vector<std::string>& Urls() const { return urls_; }

private:
    std::vector<std::unique_ptr<httplib::Server>> servers_;
    std::vector<std::thread> threads_;
    std::vector<std::string> urls_;
};

void WriteDataFile(const std::string& path, const std::vector<std::string>& hosts, int watches) {
    std::ofstream out(path, std::ios::binary);
    out << "$Bench\r\n";
    for (int i = 0; i < watches; ++i) {
        const std::string address =
            hosts[static_cast<std::size_t>(i) % hosts.size()] + "/page/" + std::to_string(i);
        out << "{\r\nDescription=page " << i << "\r\nAddress=" << address
            << "\r\nScanType=0\r\nMD5=\r\nChanged=0\r\nManual=0\r\n}\r\n";
    }
    out << "\r\n";
}

template <typename Function> double BestOf(int runs, Function function) {
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        function();
        best = std::min(best, MillisecondsSince(start));
    }
    return best;
}

void TimeRules(const std::string& folder) {
    constexpr std::size_t PageBytes = 10u * 1024 * 1024;
    std::string page;
    page.reserve(PageBytes);
    for (int block = 0; page.size() < PageBytes; ++block) {
        page += "<div class=\"item\"><a href=\"/item/" + std::to_string(block) + "\">Item " +
                std::to_string(block) + "</a> some text, prices and notes</div>\r\n";
    }
    page.resize(PageBytes);
    const std::string file = folder + "/page.html";
    std::ofstream(file, std::ios::binary) << page;

    std::size_t sink = 0;
    const double digest =
        BestOf(5, [&] { sink += zelmox::MD5Print(zelmox::MD5String(page)).size(); });
    const double tags = BestOf(5, [&] { sink += zelmox::ProcessNonTaggedContent(page).size(); });
    const double size = BestOf(5, [&] { sink += page.size(); });
    const double keywords = BestOf(5, [&] {
        sink += zelmox::ProcessKeywords(page, {"absent keyword", "another one"}) ? 1 : 0;
    });
    const double md5sum = BestOf(5, [&] { Run({"/usr/bin/md5sum", file}); });
    std::printf("\nChange rules on a 10 MiB page (best of 5):\n");
    std::printf("  md5sum of the same bytes     %8.1f ms\n", md5sum);
    std::printf("  0 entire content (digest)    %8.1f ms  (%.2f x md5sum)\n", digest,
                digest / md5sum);
    std::printf("  1 text outside tags          %8.1f ms  (%.2f x md5sum)\n", tags, tags / md5sum);
    std::printf("  2 size                       %8.3f ms\n", size);
    std::printf("  3 keywords (two, not found)  %8.1f ms  (%.2f x md5sum)\n", keywords,
                keywords / md5sum);
    // Printed so that the timed work cannot be optimised away.
    std::printf("  (checksum %zu)\n", sink);
}

} // namespace

int main(int argc, char* argv[]) {
    const int watches = argc > 1 ? std::atoi(argv[1]) : 200;
    const int hosts = argc > 2 ? std::atoi(argv[2]) : 8;
    const int delayMs = argc > 3 ? std::atoi(argv[3]) : 50;

    char pattern[] = "/tmp/zelmox-scan-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    // The tool reads its settings and keeps its snapshots under these folders.
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    const std::string snapshots = folder + "/snapshots/";
    std::filesystem::create_directories(snapshots);

    const SlowHosts servers(hosts, delayMs);
    const std::string dataFile = folder + "/bench.zelmox";
    std::printf("zelmox-cli scan: %d watches over %d hosts, each page answering after %d ms\n",
                watches, hosts, delayMs);

    WriteDataFile(dataFile, servers.Urls(), watches);
    const RunResult serial = Run(
        {ZELMOX_CLI_PATH, "scan", dataFile, "--no-save", "--jobs", "1", "--data-dir", snapshots});
    WriteDataFile(dataFile, servers.Urls(), watches);
    const RunResult parallel =
        Run({ZELMOX_CLI_PATH, "scan", dataFile, "--no-save", "--data-dir", snapshots});

    std::printf("  --jobs 1        %8.0f ms   peak %6.1f MB   exit %d\n", serial.WallMs,
                serial.PeakKb / 1024.0, serial.Status);
    std::printf("  default (64)    %8.0f ms   peak %6.1f MB   exit %d\n", parallel.WallMs,
                parallel.PeakKb / 1024.0, parallel.Status);
    std::printf("  ratio           %8.1f x\n", serial.WallMs / parallel.WallMs);

    TimeRules(folder);
    std::filesystem::remove_all(folder);
    return 0;
}
