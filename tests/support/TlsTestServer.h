#pragma once

#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <memory>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdexcept>
#include <string>
#include <thread>

namespace zelmox::test {

// A self-signed certificate with a fresh P-256 key, made in memory, valid from an hour ago for a
// day and usable as its own trust anchor. The name is put in the subject and, as an IP address or
// a DNS name, in the subject alternative names.
class SelfSignedCertificate {
public:
    explicit SelfSignedCertificate(const std::string& name)
        : key_(EVP_EC_gen("P-256"), EVP_PKEY_free), certificate_(X509_new(), X509_free) {
        X509* cert = certificate_.get();
        if (!key_ || !cert) {
            throw std::runtime_error("cannot make a key and certificate");
        }
        unsigned char serial[8];
        RAND_bytes(serial, sizeof(serial));
        serial[0] &= 0x7f;
        BIGNUM* number = BN_bin2bn(serial, sizeof(serial), nullptr);
        BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert));
        BN_free(number);
        X509_set_version(cert, X509_VERSION_3);
        X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
        X509_gmtime_adj(X509_getm_notAfter(cert), 86400);
        X509_set_pubkey(cert, key_.get());
        X509_NAME* subject = X509_get_subject_name(cert);
        X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>(name.c_str()), -1, -1, 0);
        X509_set_issuer_name(cert, subject);
        in_addr ip{};
        const bool isIp = inet_pton(AF_INET, name.c_str(), &ip) == 1;
        AddExtension(NID_subject_alt_name, (isIp ? "IP:" : "DNS:") + name);
        AddExtension(NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(NID_subject_key_identifier, "hash");
        if (X509_sign(cert, key_.get(), EVP_sha256()) == 0) {
            throw std::runtime_error("cannot sign the certificate");
        }
        std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
        PEM_write_bio_X509(bio.get(), cert);
        char* data = nullptr;
        const long length = BIO_get_mem_data(bio.get(), &data);
        pem_.assign(data, static_cast<std::size_t>(length));
    }

    X509* Certificate() const { return certificate_.get(); }
    EVP_PKEY* Key() const { return key_.get(); }
    // The certificate in PEM form, as a client would be given it to trust.
    const std::string& Pem() const { return pem_; }

private:
    void AddExtension(int nid, const std::string& value) {
        X509V3_CTX context;
        X509V3_set_ctx_nodb(&context);
        X509V3_set_ctx(&context, certificate_.get(), certificate_.get(), nullptr, nullptr, 0);
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
        if (extension == nullptr) {
            throw std::runtime_error("bad certificate extension " + value);
        }
        X509_add_ext(certificate_.get(), extension, -1);
        X509_EXTENSION_free(extension);
    }

    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key_;
    std::unique_ptr<X509, decltype(&X509_free)> certificate_;
    std::string pem_;
};

// A real HTTPS server on 127.0.0.1 at a free port with a certificate of its own, serving from its
// own thread for the life of the object. Nobody trusts the certificate until a test adds Pem() to
// its client's trusted certificates. Tests register handlers on Server() before calling Start().
class TlsTestServer {
public:
    // certificateName: the name the certificate is issued for.
    explicit TlsTestServer(const std::string& certificateName = "127.0.0.1")
        : certificate_(certificateName), server_(certificate_.Certificate(), certificate_.Key()) {}
    ~TlsTestServer() { Stop(); }
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    httplib::Server& Server() { return server_; }

    // Binds a free port and starts serving; false when no port could be bound.
    bool Start() {
        if (!server_.is_valid()) {
            return false;
        }
        port_ = StartServing(server_, "127.0.0.1", thread_);
        return port_ > 0;
    }

    void Stop() { StopServing(server_, thread_); }

    int Port() const { return port_; }
    // https://127.0.0.1:PORT followed by the path.
    std::string Url(const std::string& path) const {
        return "https://127.0.0.1:" + std::to_string(port_) + path;
    }
    const std::string& CertificatePem() const { return certificate_.Pem(); }

private:
    SelfSignedCertificate certificate_;
    httplib::SSLServer server_;
    std::thread thread_;
    int port_ = 0;
};

} // namespace zelmox::test
