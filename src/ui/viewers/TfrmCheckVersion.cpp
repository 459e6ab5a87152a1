#include "TfrmCheckVersion.h"

#include "DisplayText.h"
#include "FixedSizeWindow.h"

#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace zelmox {

namespace {

const QString NoNewVersion = QStringLiteral("No new version is available!");
const QString NewVersion = QStringLiteral("A new version is available!");
const QString Error = QStringLiteral("Error");

constexpr int InstalledColumn = 124;
constexpr int LatestColumn = 248;
constexpr int ValueWidth = 120;
constexpr int DateRow = 36;
constexpr int VersionRow = 56;
constexpr int ButtonTop = 186;
constexpr int HistoryTop = 226;

// The first lines of a reply, at most count of them: a line ends at CR LF, a lone CR or a lone
// LF; a last line without an ending counts too.
QStringList FirstLines(const QByteArray& content, int count) {
    QStringList lines;
    qsizetype start = 0;
    while (start < content.size() && lines.size() < count) {
        qsizetype end = start;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n') {
            ++end;
        }
        lines << ShowText(content.mid(start, end - start).toStdString());
        const bool crLf =
            end + 1 < content.size() && content[end] == '\r' && content[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return lines;
}

} // namespace

TfrmCheckVersion::TfrmCheckVersion(const QString& host, const QString& installedDate,
                                   const QString& installedVersion, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), host_(host), client_(this) {
    setObjectName(QStringLiteral("frmCheckVersion"));
    setWindowTitle(QStringLiteral("New version check"));
    FixWindowSize(*this, QSize(ClientWidth, OpeningHeight));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    BuildControls();
    lIVDate_->setText(installedDate);
    lIVVersion_->setText(installedVersion);
}

QLabel* TfrmCheckVersion::AddLabel(const QString& name, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    // Texts from the server are shown as they are, never as mark-up.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(left, top, ValueWidth, label->sizeHint().height());
    return label;
}

void TfrmCheckVersion::BuildControls() {
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(8, 8, 48, 48);
    image->setPixmap(QIcon(QStringLiteral(":/icons/update-check.svg")).pixmap(48, 48));

    QFont bold = font();
    bold.setBold(true);
    AddLabel(QStringLiteral("lInstalled"), QStringLiteral("Installed Version"), InstalledColumn, 12)
        ->setFont(bold);
    AddLabel(QStringLiteral("lLatest"), QStringLiteral("Latest Available"), LatestColumn, 12)
        ->setFont(bold);
    AddLabel(QStringLiteral("lDateHeading"), QStringLiteral("Date"), 68, DateRow);
    AddLabel(QStringLiteral("lVersionHeading"), QStringLiteral("Version"), 68, VersionRow);
    const QString unknown = QStringLiteral("......");
    lIVDate_ = AddLabel(QStringLiteral("lIVDate"), unknown, InstalledColumn, DateRow);
    lIVVersion_ = AddLabel(QStringLiteral("lIVVersion"), unknown, InstalledColumn, VersionRow);
    lLADate_ = AddLabel(QStringLiteral("lLADate"), unknown, LatestColumn, DateRow);
    lLAVersion_ = AddLabel(QStringLiteral("lLAVersion"), unknown, LatestColumn, VersionRow);
    lWhat_ = AddLabel(QStringLiteral("lWhat"), QStringLiteral("...."), 68, 96);
    lWhat_->setFont(bold);
    lWhat_->setFixedWidth(ClientWidth - 68 - 8);

    bHistory_ = new QPushButton(QStringLiteral("&History >>"), this);
    bHistory_->setObjectName(QStringLiteral("bHistory"));
    bHistory_->setGeometry(8, ButtonTop, 100, 28);
    bHistory_->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("bClose"));
    close->setGeometry(ClientWidth - 8 - 100, ButtonTop, 100, 28);
    close->setDefault(true);

    mHistory_ = new QPlainTextEdit(this);
    mHistory_->setObjectName(QStringLiteral("mHistory"));
    mHistory_->setAccessibleName(QStringLiteral("History"));
    mHistory_->setReadOnly(true);
    mHistory_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mHistory_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mHistory_->setGeometry(8, HistoryTop, ClientWidth - 16, UnfoldedHeight - HistoryTop - 8);
    mHistory_->hide();

    connect(bHistory_, &QPushButton::clicked, this, &TfrmCheckVersion::bHistoryClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmCheckVersion::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window system shows it again after a minimise: that is no new check.
    if (event->spontaneous()) {
        return;
    }
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
    FormShow();
}

void TfrmCheckVersion::hideEvent(QHideEvent* event) {
    // Closed while waiting: the answer, should it still come, is not wanted.
    if (!event->spontaneous() && pending_ != nullptr) {
        pending_->Abort();
        pending_ = nullptr;
    }
    QDialog::hideEvent(event);
}

void TfrmCheckVersion::FormShow() {
    if (!IsChecking()) {
        Fetch(QStringLiteral("/versions/") + VersionFileName, &TfrmCheckVersion::VersionArrived);
    }
}

void TfrmCheckVersion::Fetch(const QString& path, ReplyHandler handler) {
    ContentFetch* fetch = client_.FetchContent((QStringLiteral("http://") + host_ + path).toUtf8());
    pending_ = fetch;
    connect(fetch, &ContentFetch::Finished, this,
            [this, handler](bool ok, const QByteArray& content) {
                pending_ = nullptr;
                (this->*handler)(ok, content);
            });
}

void TfrmCheckVersion::VersionArrived(bool ok, const QByteArray& content) {
    const QStringList lines = FirstLines(content, 2);
    if (!ok || lines.size() < 2) {
        ShowFailure();
        return;
    }
    lLADate_->setText(lines[0]);
    lLAVersion_->setText(lines[1]);
    if (lLADate_->text() == lIVDate_->text() && lLAVersion_->text() == lIVVersion_->text()) {
        lWhat_->setText(NoNewVersion);
        return;
    }
    lWhat_->setText(NewVersion);
    bHistory_->setEnabled(true);
    Fetch(QStringLiteral("/versions/history") + VersionFileName, &TfrmCheckVersion::HistoryArrived);
}

void TfrmCheckVersion::HistoryArrived(bool ok, const QByteArray& content) {
    if (!ok) {
        ShowFailure();
        return;
    }
    mHistory_->setPlainText(ShowText(content.toStdString()));
}

void TfrmCheckVersion::ShowFailure() {
    lLADate_->setText(Error);
    lLAVersion_->setText(Error);
    lWhat_->setText(QStringLiteral("Unable to connect to ") + host_ + QStringLiteral("!"));
}

void TfrmCheckVersion::bHistoryClick() {
    unfolded_ = !unfolded_;
    bHistory_->setText(unfolded_ ? QStringLiteral("History <<") : QStringLiteral("History >>"));
    mHistory_->setVisible(unfolded_);
    setFixedSize(ClientWidth, unfolded_ ? UnfoldedHeight : FoldedHeight);
}

} // namespace zelmox
