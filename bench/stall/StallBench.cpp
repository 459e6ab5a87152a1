// Measures how long the event loop goes unanswered while a scan applies large pages: a probe timer
// ticks every few milliseconds, and the longest gap between two ticks is the longest stall the
// window would show; beside it, the most processor time the thread used within one gap. Twenty
// watches of 10 MiB pages (every scan type), each page changed at every scan, so that digests,
// snapshot rotation and writes all run. Run by hand:
//   build/bench/stall/stall_bench [pages=20] [MiB=10] [scans=3]
#include "Clock.h"
#include "HttpClient.h"
#include "ScanLog.h"
#include "Scanner.h"
#include "SectionModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <httplib.h>
#include <string>
#include <thread>

namespace {

constexpr int ProbeIntervalMs = 2;

// The bulk of every page, made once so that the server threads only send.
std::string PageBody(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 200);
    for (int block = 0; text.size() < bytes; ++block) {
        text += "<div class=\"item\"><a href=\"/item/" + std::to_string(block) + "\">Item " +
                std::to_string(block) + "</a> some text, prices and notes</div>\r\n";
    }
    text.resize(bytes);
    return text;
}

// The processor time this thread has used.
qint64 ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

// Records the longest gap between two ticks of a fast timer, and the most processor time the
// thread spent between two ticks: on a machine busy with other work the first includes the time
// the thread waited for a processor, the second is what the program itself kept the loop busy.
class StallProbe {
public:
    StallProbe() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longestMs_ = std::max(longestMs_, sinceLast_.restart());
            const qint64 cpu = ThreadCpuMicroseconds();
            busiestUs_ = std::max(busiestUs_, cpu - lastCpuUs_);
            lastCpuUs_ = cpu;
        });
    }
    void Start() {
        longestMs_ = 0;
        busiestUs_ = 0;
        lastCpuUs_ = ThreadCpuMicroseconds();
        sinceLast_.start();
        timer_.start(ProbeIntervalMs);
    }
    void Stop() { timer_.stop(); }
    qint64 LongestMs() const { return longestMs_; }
    qint64 BusiestMs() const { return busiestUs_ / 1000; }

private:
    QTimer timer_;
    QElapsedTimer sinceLast_;
    qint64 longestMs_ = 0;
    qint64 lastCpuUs_ = 0;
    qint64 busiestUs_ = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 20;
    const std::size_t bytes = static_cast<std::size_t>(argc > 2 ? std::atoi(argv[2]) : 10) << 20;
    const int scans = argc > 3 ? std::atoi(argv[3]) : 3;

    std::atomic<int> scan{0};
    const std::string body = PageBody(bytes);
    httplib::Server server;
    server.set_tcp_nodelay(true);
    server.new_task_queue = [] { return new httplib::ThreadPool(8); };
    server.Get(R"(/page/(\d+))", [&](const httplib::Request& request, httplib::Response& response) {
        // Every page differs from the others and from its copy of the scan before.
        response.set_content("<p>page " + request.matches[1].str() + ", scan " +
                                 std::to_string(scan) + "</p>" + body,
                             "text/html");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&server] { server.listen_after_bind(); });

    char pattern[] = "/tmp/zelmox-stall-bench-XXXXXX";
    const std::string folder = std::string(mkdtemp(pattern)) + "/";
    zelmox::SectionModel model;
    for (int i = 0; i < pages; ++i) {
        zelmox::TWatchObject object;
        object.Watch.Address =
            "http://127.0.0.1:" + std::to_string(port) + "/page/" + std::to_string(i);
        object.Watch.ScanType = i % 4;
        object.Watch.Keyword = {"Item 7"};
        object.Watch.AddressMD5 = zelmox::ComputeAddressMD5(object.Watch);
        model.Tab(0).AddWatchRow(std::move(object), "0");
    }
    zelmox::SystemClock clock;
    zelmox::ScanLog log;
    zelmox::HttpClient client;
    zelmox::Scanner scanner(model, client, clock, log, [&folder] { return folder; });
    StallProbe probe;

    std::printf("Scan of %d pages of %zu MiB (probe every %d ms)\n", pages, bytes >> 20,
                ProbeIntervalMs);
    for (scan = 1; scan <= scans; ++scan) {
        QElapsedTimer wall;
        QObject::connect(&scanner, &zelmox::Scanner::ScanFinished, &application,
                         &QCoreApplication::quit, Qt::SingleShotConnection);
        probe.Start();
        wall.start();
        scanner.ScanAllTabs();
        QCoreApplication::exec();
        probe.Stop();
        std::printf("  scan %d: %6lld ms in all, %2d changed, longest stall %4lld ms "
                    "(busy %3lld ms of it)\n",
                    scan.load(), static_cast<long long>(wall.elapsed()), scanner.TotalChanges(),
                    static_cast<long long>(probe.LongestMs()),
                    static_cast<long long>(probe.BusiestMs()));
    }
    server.stop();
    serving.join();
    std::filesystem::remove_all(folder);
    return 0;
}
