#include "WebViews.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>
#include <unistd.h>

static void InitialiseViewerResources() {
    Q_INIT_RESOURCE(viewers);
}

namespace zelmox {

void PrepareWebViews() {
    InitialiseViewerResources();
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QWebEngineUrlScheme scheme(SnapshotScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // A stored page gets an origin of its own that reaches nothing local.
    scheme.setFlags(QWebEngineUrlScheme::NoAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace zelmox
