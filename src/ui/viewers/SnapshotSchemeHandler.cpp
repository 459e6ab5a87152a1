#include "SnapshotSchemeHandler.h"

#include "AddressUrl.h"
#include "DisplayText.h"
#include "PageCharset.h"
#include "StoredPage.h"
#include "VisibleText.h"
#include "WebViews.h"

#include <QBuffer>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>

namespace zelmox {

namespace {

// The content type of a snapshot by its extension (one of the known extensions or ".html").
QByteArray ContentType(const QString& suffix) {
    static const QMap<QString, QByteArray> types = {
        {"pdf", "application/pdf"}, {"gif", "image/gif"}, {"jpg", "image/jpeg"},
        {"bmp", "image/bmp"},       {"png", "image/png"},
    };
    return types.value(suffix.toLower(), "application/octet-stream");
}

} // namespace

QUrl SnapshotSchemeHandler::Offer(const std::string& path, const std::string& address) {
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    offered_.insert(name, {path, address});
    QUrl url;
    url.setScheme(QString::fromLatin1(SnapshotScheme));
    url.setPath(name);
    return url;
}

void SnapshotSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const auto found = offered_.constFind(job->requestUrl().path());
    if (found == offered_.constEnd()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const QFileInfo file(QString::fromStdString(found->Path));
    if (!file.isFile()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    std::string bytes = ReadWholeFile(found->Path);
    QByteArray type = ContentType(file.suffix());
    if (file.suffix().compare(QLatin1String("html"), Qt::CaseInsensitive) == 0) {
        // A charset that only the page names is left for the browser to read from the page: a
        // charset given with the reply would override it.
        type = DeclaresOtherCharset(bytes)
                   ? QByteArray("text/html")
                   : QByteArray("text/html;charset=") + CharsetName(PageCharset(bytes));
        const QUrl base = AddressUrl(ShowText(found->Address));
        bytes = WithBaseAddress(bytes, base.toString(QUrl::FullyEncoded).toStdString());
    }
    auto* body = new QBuffer(job);
    body->setData(QByteArray::fromStdString(bytes));
    job->reply(type, body);
}

} // namespace zelmox
