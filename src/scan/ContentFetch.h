#pragma once

#include <QByteArray>
#include <QObject>

namespace zelmox {

// One fetch of a watch's content, reported once through Finished. A failed fetch, and a page or
// file that is really empty, both end with empty content; Ok tells them apart for the callers that
// care (import).
class ContentFetch : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Ends the fetch without reporting; the object deletes itself later.
    virtual void Abort() = 0;

signals:
    void Finished(bool ok, const QByteArray& content);
    // Part of a web page came in: this many bytes more. A fetch that reads at once (a local
    // file) does not tell.
    void Received(qint64 bytes);
};

// Where content comes from: the HTTP client and the local file reader in the program, a script in
// tests.
class ContentSource {
public:
    virtual ~ContentSource() = default;
    // Starts a fetch; the result arrives through the returned object's Finished signal, never
    // before the caller regains control. The object deletes itself after reporting or aborting.
    virtual ContentFetch* FetchContent(const QByteArray& address) = 0;
};

} // namespace zelmox
