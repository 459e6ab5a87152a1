#include "FetchTestSupport.h"
#include "HttpClient.h"
#include "TlsTestServer.h"

#include <QSslCertificate>
#include <QSslConfiguration>

namespace zelmox::test {
namespace {

// Adds a certificate to the trusted ones of every TLS connection made while the object lives.
class TrustedCertificate {
public:
    explicit TrustedCertificate(const std::string& pem)
        : saved_(QSslConfiguration::defaultConfiguration()) {
        QSslConfiguration configuration = saved_;
        configuration.addCaCertificates(
            QSslCertificate::fromData(QByteArray::fromStdString(pem), QSsl::Pem));
        QSslConfiguration::setDefaultConfiguration(configuration);
    }
    ~TrustedCertificate() { QSslConfiguration::setDefaultConfiguration(saved_); }
    TrustedCertificate(const TrustedCertificate&) = delete;
    TrustedCertificate& operator=(const TrustedCertificate&) = delete;

private:
    QSslConfiguration saved_;
};

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
    const TrustedCertificate trust(trusted.CertificatePem());
    // Declared after the servers: its idle connections must close before they stop.
    HttpClient client;

    EXPECT_TRUE(Succeeded(Fetch(client, trusted.Url("/page")), "secure page"));
    EXPECT_TRUE(Failed(Fetch(client, stranger.Url("/page"))));
}

TEST_F(TlsFetchTest, TrustedCertificateForAnotherNameFails) {
    TlsTestServer server("zelmox.invalid");
    Serve(server);
    const TrustedCertificate trust(server.CertificatePem());
    HttpClient client;

    EXPECT_TRUE(Failed(Fetch(client, server.Url("/page"))));
}

} // namespace
} // namespace zelmox::test
