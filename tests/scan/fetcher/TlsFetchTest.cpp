#include "FetchTestSupport.h"
#include "HttpClient.h"
#include "TlsTestServer.h"

namespace zelmox::test {
namespace {

class TlsFetchTest : public ::testing::Test {
protected:
    static void Serve(TlsTestServer& server) {
        server.Server().Get("/page", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("secure page", "text/html");
        });
        ASSERT_TRUE(server.Start());
    }
};

TEST_F(TlsFetchTest, OnlyTrustedCertificatesAreAccepted) {
    TlsTestServer trusted;
    TlsTestServer stranger;
    Serve(trusted);
    Serve(stranger);
    // Declared after the servers: its idle connections must close before they stop.
    HttpClient client;
    client.SetTrustedCertificates(QByteArray::fromStdString(trusted.CertificatePem()));

    EXPECT_TRUE(Succeeded(Fetch(client, trusted.Url("/page")), "secure page"));
    EXPECT_TRUE(Failed(Fetch(client, stranger.Url("/page"))));
}

TEST_F(TlsFetchTest, TrustedCertificateForAnotherNameFails) {
    TlsTestServer server("zelmox.invalid");
    Serve(server);
    HttpClient client;
    client.SetTrustedCertificates(QByteArray::fromStdString(server.CertificatePem()));

    EXPECT_TRUE(Failed(Fetch(client, server.Url("/page"))));
}

} // namespace
} // namespace zelmox::test
