#include "HttpClient.h"

#include "Address.h"
#include "LocalFileReader.h"
#include "Settings.h"

#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>

namespace zelmox {

namespace {

// Reports its result once, then goes away.
class ReportingFetch : public ContentFetch {
public:
    using ContentFetch::ContentFetch;

protected:
    void Report(bool ok, const QByteArray& content) {
        if (reported_) {
            return;
        }
        reported_ = true;
        emit Finished(ok, ok ? content : QByteArray());
        deleteLater();
    }

    void MarkAborted() {
        reported_ = true;
        deleteLater();
    }

private:
    bool reported_ = false;
};

class WebFetch final : public ReportingFetch {
public:
    WebFetch(QNetworkReply* reply, qint64 maxBodyBytes)
        : reply_(reply), maxBodyBytes_(maxBodyBytes) {
        connect(reply_, &QNetworkReply::metaDataChanged, this, &WebFetch::CheckDeclaredLength);
        connect(reply_, &QNetworkReply::readyRead, this, &WebFetch::Collect);
        connect(reply_, &QNetworkReply::finished, this, &WebFetch::Complete);
        // The client going away takes its replies along; the fetch then just ends.
        connect(reply_, &QObject::destroyed, this, &WebFetch::MarkAborted);
    }

    ~WebFetch() override {
        if (reply_ != nullptr) {
            reply_->disconnect(this);
            reply_->abort();
            reply_->deleteLater();
        }
    }

    void Abort() override { MarkAborted(); }

private:
    void CheckDeclaredLength() {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBodyBytes_) {
            Fail();
        }
    }

    void Collect() {
        if (reply_ == nullptr || !reply_->isOpen()) {
            return;
        }
        body_.append(reply_->readAll());
        if (body_.size() > maxBodyBytes_) {
            Fail();
        }
    }

    void Complete() {
        Collect();
        if (reply_ == nullptr) {
            return;
        }
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // A connection that breaks off mid-body can end without an error: a body shorter than
        // its declared length is a failed fetch, not a changed page.
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        const bool complete = !length.isValid() || length.toLongLong() == body_.size();
        const bool success = reply_->error() == QNetworkReply::NoError && status >= 200 &&
                             status < 300 && complete && body_.size() <= maxBodyBytes_;
        Report(success, body_);
    }

    void Fail() {
        body_.clear();
        Report(false, {});
    }

    QPointer<QNetworkReply> reply_;
    qint64 maxBodyBytes_;
    QByteArray body_;
};

class LocalFetch final : public ReportingFetch {
public:
    LocalFetch(QString path, qint64 maxBytes) : path_(std::move(path)), maxBytes_(maxBytes) {
        QTimer::singleShot(0, this, &LocalFetch::Read);
    }

    void Abort() override { MarkAborted(); }

private:
    void Read() {
        QByteArray text;
        const bool ok = ReadLocalFile(path_, maxBytes_, text);
        Report(ok, text);
    }

    QString path_;
    qint64 maxBytes_;
};

// An address without a scheme (one that starts with "www.") is asked for over http.
QUrl RequestUrl(const QByteArray& address) {
    QString text = QString::fromUtf8(address);
    if (!text.contains(QLatin1String("://"))) {
        text.prepend(QLatin1String("http://"));
    }
    return QUrl(text, QUrl::TolerantMode);
}

} // namespace

ConnectionSettings ConnectionSettingsOf(const TSettings& settings) {
    ConnectionSettings connection;
    connection.HTTPPort = settings.HTTPPort;
    connection.UseProxySettings = settings.UseProxySettings;
    connection.BasicAuthentication = settings.BasicAuthentication;
    connection.ProxyServer = QString::fromStdString(settings.ProxyServer);
    connection.ProxyPort = settings.ProxyPort;
    connection.ProxyUsername = QString::fromStdString(settings.ProxyUsername);
    connection.ProxyPassword = QString::fromStdString(settings.ProxyPassword);
    return connection;
}

HttpClient::HttpClient(QObject* parent) : QObject(parent) {
    manager_.setCookieJar(new QNetworkCookieJar(&manager_));
    manager_.setProxy(QNetworkProxy::NoProxy);
}

void HttpClient::ApplyConnectionSettings(const ConnectionSettings& settings) {
    connection_ = settings;
    // An empty server means a direct connection even with the proxy switched on.
    if (!settings.UseProxySettings || settings.ProxyServer.isEmpty()) {
        manager_.setProxy(QNetworkProxy::NoProxy);
        return;
    }
    QNetworkProxy proxy(QNetworkProxy::HttpProxy, settings.ProxyServer,
                        static_cast<quint16>(settings.ProxyPort));
    if (settings.BasicAuthentication) {
        proxy.setUser(settings.ProxyUsername);
        proxy.setPassword(settings.ProxyPassword);
    }
    manager_.setProxy(proxy);
}

ContentFetch* HttpClient::FetchContent(const QByteArray& address) {
    if (!IsWebAddress(address.toStdString())) {
        return new LocalFetch(QString::fromUtf8(address), maxBodyBytes_);
    }
    QNetworkRequest request(RequestUrl(address));
    request.setRawHeader("Accept", "text/html, */*");
    request.setRawHeader("Content-Type", "text/html");
    request.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    // Bodies are kept exactly as sent: no compressed transfer to undo.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(inactivityTimeoutMs_);
    return new WebFetch(manager_.get(request), maxBodyBytes_);
}

QString FetchHost(const QByteArray& address) {
    return IsWebAddress(address.toStdString()) ? RequestUrl(address).host() : QString();
}

void ApplyConnectionSettings(HttpClient& client, const TSettings& settings) {
    client.ApplyConnectionSettings(ConnectionSettingsOf(settings));
}

} // namespace zelmox
