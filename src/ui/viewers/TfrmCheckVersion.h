#pragma once

#include "HttpClient.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zelmox {

// "New version check": asks the maker's web server for the latest release and compares it with
// the installed one. The server is asked in the background, so the window paints and can be
// closed while it waits; it has its own HTTP client, which always connects directly.
class TfrmCheckVersion : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 374;
    static constexpr int OpeningHeight = 226;
    static constexpr int FoldedHeight = 224;
    static constexpr int UnfoldedHeight = 455;
    static constexpr const char* VersionFileName = "zelmox.dat";

    // Asks the server at host (a name, with ":port" if need be) about the installed release.
    TfrmCheckVersion(const QString& host, const QString& installedDate,
                     const QString& installedVersion, QWidget* parent = nullptr);

    void bHistoryClick();
    // True while a request to the server is under way.
    bool IsChecking() const { return !pending_.isNull(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    using ReplyHandler = void (TfrmCheckVersion::*)(bool ok, const QByteArray& content);

    void BuildControls();
    QLabel* AddLabel(const QString& name, const QString& caption, int left, int top);
    void FormShow();
    void Fetch(const QString& path, ReplyHandler handler);
    void VersionArrived(bool ok, const QByteArray& content);
    void HistoryArrived(bool ok, const QByteArray& content);
    void ShowFailure();

    QString host_;
    HttpClient client_;
    QPointer<ContentFetch> pending_;
    bool unfolded_ = false;

    QLabel* lIVDate_ = nullptr;
    QLabel* lIVVersion_ = nullptr;
    QLabel* lLADate_ = nullptr;
    QLabel* lLAVersion_ = nullptr;
    QLabel* lWhat_ = nullptr;
    QPushButton* bHistory_ = nullptr;
    QPlainTextEdit* mHistory_ = nullptr;
};

} // namespace zelmox
