#include "HelpBrowser.h"

#include "Ports.h"

#include <QFile>
#include <QTextDocument>

namespace zelmox {

const QUrl HelpBrowser::Folder(QStringLiteral("qrc:/help/"));

namespace {

QString NotFoundPage(const QUrl& page) {
    return QStringLiteral("<html><head><title>Page not found</title></head><body>"
                          "<h1>Page not found</h1><p>The help has no page \"%1\".</p>"
                          "<p><a href=\"%2\">Go to the index</a></p></body></html>")
        .arg(page.fileName().toHtmlEscaped(),
             HelpBrowser::PageUrl(QStringLiteral("index.htm")).toString().toHtmlEscaped());
}

bool ResourceExists(const QUrl& url) {
    return url.scheme() == QLatin1String("qrc") && QFile::exists(QLatin1Char(':') + url.path());
}

} // namespace

HelpBrowser::HelpBrowser(ShellOpener& shell, QWidget* parent)
    : QTextBrowser(parent), shell_(shell) {
    // Links are followed here, by the rules of FollowLink, never by the browser itself.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
}

QUrl HelpBrowser::PageUrl(const QString& pageName) {
    return Folder.resolved(QUrl(pageName));
}

bool HelpBrowser::IsHelpPage(const QUrl& url) {
    const QUrl normal = url.adjusted(QUrl::NormalizePathSegments);
    return normal.scheme() == Folder.scheme() && normal.path().startsWith(Folder.path()) &&
           normal.path().size() > Folder.path().size();
}

bool HelpBrowser::IsWebAddress(const QUrl& url) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("mailto");
}

void HelpBrowser::FollowLink(const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (IsWebAddress(target)) {
        shell_.RunProgram(target.toString());
    } else if (IsHelpPage(target)) {
        setSource(target);
    }
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = source().resolved(name).adjusted(QUrl::NormalizePathSegments);
    if (type == QTextDocument::HtmlResource) {
        if (!IsHelpPage(url) || !ResourceExists(url)) {
            return NotFoundPage(url);
        }
    } else if (!ResourceExists(url)) {
        // Pictures and style sheets come from the program's own resources only.
        return {};
    }
    return QTextBrowser::loadResource(type, url);
}

} // namespace zelmox
