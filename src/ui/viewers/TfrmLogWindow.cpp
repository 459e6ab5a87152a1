#include "TfrmLogWindow.h"

#include "DisplayText.h"
#include "FixedSizeWindow.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zelmox {

TfrmLogWindow::TfrmLogWindow(QWidget* parent) : QDialog(parent), mLog_(new QPlainTextEdit) {
    setObjectName(QStringLiteral("frmLogWindow"));
    setWindowTitle(QStringLiteral("Log Window"));
    mLog_->setObjectName(QStringLiteral("mLog"));
    mLog_->setAccessibleName(QStringLiteral("Log"));
    mLog_->setReadOnly(true);
    mLog_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mLog_);
    FixWindowSize(*this, QSize(ClientWidth, ClientHeight));
}

void TfrmLogWindow::ShowLog(const std::vector<std::string>& lines) {
    SetLines(lines);
    CentreOnScreen(*this);
    exec();
}

void TfrmLogWindow::SetLines(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines) {
        shown << ShowText(line);
    }
    mLog_->setPlainText(shown.join(QLatin1Char('\n')));
}

QString TfrmLogWindow::Text() const {
    return mLog_->toPlainText();
}

} // namespace zelmox
