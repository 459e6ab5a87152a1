#include "FetchTestSupport.h"
#include "HttpClient.h"
#include "TempDir.h"

#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::string_literals;

namespace zelmox::test {
namespace {

// Local files fetched through the client, as a watch's address reaches them.
class LocalFileTest : public ::testing::Test {
protected:
    FetchResult FetchFile(const std::string& name, const std::string& bytes) {
        WriteFile(dir_.File(name), bytes);
        return Fetch(client_, dir_.File(name));
    }

    TempDir dir_;
    HttpClient client_;
};

TEST_F(LocalFileTest, EveryLineBreakBecomesCrLf) {
    const struct {
        std::string file;
        std::string text;
    } cases[] = {
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        // LF CR and CR CR LF are two breaks each; CR LF never splits.
        {"a\n\rb\r\r\nc", "a\r\n\r\nb\r\n\r\nc"},
        {"\n\n", "\r\n\r\n"},
        {"\r", "\r\n"},
        {"no break", "no break"},
        {"caf\xe9 \xff\x80\n", "caf\xe9 \xff\x80\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file));
        EXPECT_TRUE(Succeeded(FetchFile("text.txt", c.file), c.text));
    }
}

TEST_F(LocalFileTest, TextEndsBeforeTheFirstNul) {
    // The first 10 bytes hold two breaks, which then grow by one byte.
    EXPECT_TRUE(
        Succeeded(FetchFile("nul10.bin", "abc\ndef\r\nx\0\n\ntail\0more"s), "abc\r\ndef\r\nx"));
    EXPECT_TRUE(Succeeded(FetchFile("nul0.bin", "\0text"s), ""));
    EXPECT_TRUE(Succeeded(FetchFile("empty.txt", ""), ""));
}

TEST_F(LocalFileTest, MissingFileAndFolderFail) {
    EXPECT_TRUE(Failed(Fetch(client_, dir_.File("missing.txt"))));
    EXPECT_TRUE(Failed(Fetch(client_, dir_.Folder())));
    EXPECT_TRUE(Failed(Fetch(client_, "")));
}

TEST_F(LocalFileTest, DevicesAndPipesFailWithoutBlocking) {
    const std::string fifo = dir_.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Should a reader get stuck opening the pipe, a writer that comes and goes sets it free, late
    // enough for the test to notice.
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread rescuer([&] {
        std::unique_lock lock(mutex);
        if (!done.wait_for(lock, std::chrono::seconds(3), [&] { return finished; })) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
            }
        }
    });
    const FetchResult pipe = Fetch(client_, fifo);
    const FetchResult zero = Fetch(client_, "/dev/zero");
    {
        const std::lock_guard lock(mutex);
        finished = true;
    }
    done.notify_all();
    rescuer.join();

    EXPECT_TRUE(Failed(pipe));
    EXPECT_LT(pipe.elapsedMs, 2000);
    EXPECT_TRUE(Failed(zero));
    EXPECT_LT(zero.elapsedMs, 2000);
}

TEST_F(LocalFileTest, FileOverTheCapFails) {
    client_.SetMaxBodyBytes(1000);
    EXPECT_TRUE(Succeeded(FetchFile("1000.txt", std::string(1000, 'a')), std::string(1000, 'a')));
    EXPECT_TRUE(Failed(FetchFile("1001.txt", std::string(1001, 'b'))));
}

} // namespace
} // namespace zelmox::test
