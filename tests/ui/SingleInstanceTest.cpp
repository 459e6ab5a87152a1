// One program per user: a later start hands its request to the running one and ends.
#include "SingleInstance.h"

#include "TempDir.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace zelmox::test {
namespace {

using Request = SingleInstance::Request;

// A socket file nobody listens on, as a program that was killed leaves it.
void LeaveStaleSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
}

TEST(SingleInstanceTest, LaterStartsHandTheirRequestToTheRunningOne) {
    for (const bool staleSocketLeft : {false, true}) {
        const TempDir dir;
        const std::string socket = dir.File("zelmox.socket");
        const QString name = QString::fromStdString(socket);
        if (staleSocketLeft) {
            LeaveStaleSocket(socket);
        }
        {
            SingleInstance running(name);
            ASSERT_TRUE(running.Claim(Request::Show)) << staleSocketLeft;
            QSignalSpy requests(&running, &SingleInstance::Requested);
            for (const Request request : {Request::Show, Request::ScanAll}) {
                SingleInstance later(name);
                EXPECT_FALSE(later.Claim(request)) << staleSocketLeft;
                const qsizetype expected = requests.count() + 1;
                ASSERT_TRUE(QTest::qWaitFor([&] { return requests.count() == expected; }, 5000));
                EXPECT_EQ(requests.last().at(0).value<Request>(), request);
            }
        }
        // The running one ended: the next start runs.
        SingleInstance next(name);
        EXPECT_TRUE(next.Claim(Request::Show)) << staleSocketLeft;
    }
}

} // namespace
} // namespace zelmox::test
