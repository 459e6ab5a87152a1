#include "TfrmDifferences.h"

#include "DisplayText.h"
#include "VisibleText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelmox {

namespace {

QTextCharFormat FormatOf(Edit kind) {
    QTextCharFormat format;
    if (kind == Edit::Deleted) {
        format.setForeground(QColor(0xB0, 0x00, 0x00));
        format.setBackground(QColor(0xFF, 0xE6, 0xE6));
        format.setFontStrikeOut(true);
    } else if (kind == Edit::Inserted) {
        format.setForeground(QColor(0x00, 0x70, 0x00));
        format.setBackground(QColor(0xE4, 0xF8, 0xE4));
    }
    return format;
}

QString CountText(const TextDifference& difference) {
    QString text = difference.Changes == 0 ? QStringLiteral("No changes.")
                   : difference.Changes == 1
                       ? QStringLiteral("1 change.")
                       : QStringLiteral("%1 changes.").arg(difference.Changes);
    if (difference.WholeStretches > 0) {
        text += QStringLiteral(" Some passages differ too much to compare word by word: they are "
                               "shown as whole lines, deleted and then inserted.");
    }
    return text;
}

} // namespace

TfrmDifferences::TfrmDifferences(TextDifference difference, const std::string& description,
                                 QWidget* parent)
    : QDialog(parent), difference_(std::move(difference)), lChanges_(new QLabel(this)),
      rbWholeText_(new QRadioButton(QStringLiteral("Whole text"), this)),
      rbChangedLines_(new QRadioButton(QStringLiteral("Changed lines only"), this)),
      sbPreviousChange_(new QToolButton(this)), sbNextChange_(new QToolButton(this)),
      memoDifferences_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmDifferences"));
    setWindowTitle(description.empty() ? QStringLiteral("Differences")
                                       : QStringLiteral("Differences [") + ShowText(description) +
                                             QLatin1Char(']'));
    lChanges_->setObjectName(QStringLiteral("lChanges"));
    lChanges_->setText(CountText(difference_));
    lChanges_->setWordWrap(true);
    rbWholeText_->setObjectName(QStringLiteral("rbWholeText"));
    rbChangedLines_->setObjectName(QStringLiteral("rbChangedLines"));
    rbWholeText_->setChecked(true);
    sbPreviousChange_->setObjectName(QStringLiteral("sbPreviousChange"));
    sbPreviousChange_->setText(QStringLiteral("Previous change"));
    sbPreviousChange_->setToolTip(QStringLiteral("select the previous change (F7)"));
    sbNextChange_->setObjectName(QStringLiteral("sbNextChange"));
    sbNextChange_->setText(QStringLiteral("Next change"));
    sbNextChange_->setToolTip(QStringLiteral("select the next change (F8)"));
    memoDifferences_->setObjectName(QStringLiteral("memoDifferences"));
    memoDifferences_->setAccessibleName(QStringLiteral("Differences"));
    memoDifferences_->setReadOnly(true);
    memoDifferences_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* bar = new QHBoxLayout;
    bar->addWidget(rbWholeText_);
    bar->addWidget(rbChangedLines_);
    bar->addStretch();
    bar->addWidget(sbPreviousChange_);
    bar->addWidget(sbNextChange_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lChanges_);
    layout->addLayout(bar);
    layout->addWidget(memoDifferences_, 1);

    connect(sbNextChange_, &QToolButton::clicked, this, &TfrmDifferences::sbNextChangeClick);
    connect(sbPreviousChange_, &QToolButton::clicked, this,
            &TfrmDifferences::sbPreviousChangeClick);
    // The keys step at once, where a button's own shortcut would wait for its click animation.
    connect(new QShortcut(Qt::Key_F8, this), &QShortcut::activated, this,
            &TfrmDifferences::sbNextChangeClick);
    connect(new QShortcut(Qt::Key_F7, this), &QShortcut::activated, this,
            &TfrmDifferences::sbPreviousChangeClick);
    connect(rbChangedLines_, &QRadioButton::toggled, this, &TfrmDifferences::ShowChangedLinesOnly);
    resize(760, 560);
    Fill();
}

void TfrmDifferences::ShowDifferences(const std::string& before, const std::string& after,
                                      const std::string& description, QWidget* parent) {
    TfrmDifferences window(CompareTexts(VisibleLines(before), VisibleLines(after)), description,
                           parent);
    window.exec();
}

void TfrmDifferences::ShowChangedLinesOnly(bool only) {
    if (only == changedOnly_) {
        return;
    }
    changedOnly_ = only;
    rbChangedLines_->setChecked(only);
    Fill();
    if (current_ >= 0) {
        SelectChange(current_);
    }
}

void TfrmDifferences::Fill() {
    const std::vector<DiffLine>& lines = difference_.Lines;
    // With only the changed lines, each keeps ContextLines lines on either side.
    std::vector<bool> shown(lines.size(), !changedOnly_);
    for (std::size_t i = 0; changedOnly_ && i < lines.size(); ++i) {
        if (lines[i].HasChange()) {
            const std::size_t first = i > ContextLines ? i - ContextLines : 0;
            const std::size_t last = std::min(lines.size() - 1, i + ContextLines);
            std::fill(shown.begin() + static_cast<std::ptrdiff_t>(first),
                      shown.begin() + static_cast<std::ptrdiff_t>(last) + 1, true);
        }
    }
    changeRanges_.assign(static_cast<std::size_t>(difference_.Changes), {-1, -1});
    memoDifferences_->clear();
    QTextCursor cursor(memoDifferences_->document());
    cursor.beginEditBlock();
    QTextCharFormat gap;
    gap.setForeground(Qt::gray);
    bool first = true;
    bool skipped = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!shown[i]) {
            skipped = true;
            continue;
        }
        if (!first) {
            cursor.insertBlock();
        }
        if (skipped && !first) {
            cursor.insertText(QStringLiteral("\u2026"), gap);
            cursor.insertBlock();
        }
        first = false;
        skipped = false;
        for (const Segment& segment : lines[i].Segments) {
            const int start = cursor.position();
            cursor.insertText(QString::fromStdString(segment.Text), FormatOf(segment.Kind));
            if (segment.Change >= 0) {
                auto& range = changeRanges_[static_cast<std::size_t>(segment.Change)];
                range.first = range.first < 0 ? start : range.first;
                range.second = cursor.position();
            }
        }
    }
    cursor.endEditBlock();
    memoDifferences_->moveCursor(QTextCursor::Start);
    UpdateButtons();
}

void TfrmDifferences::SelectChange(int change) {
    current_ = change;
    const auto [start, end] = changeRanges_[static_cast<std::size_t>(change)];
    QTextCursor cursor(memoDifferences_->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    memoDifferences_->setTextCursor(cursor);
    memoDifferences_->ensureCursorVisible();
    UpdateButtons();
}

void TfrmDifferences::sbNextChangeClick() {
    if (current_ + 1 < difference_.Changes) {
        SelectChange(current_ + 1);
    }
}

void TfrmDifferences::sbPreviousChangeClick() {
    if (current_ > 0) {
        SelectChange(current_ - 1);
    }
}

void TfrmDifferences::UpdateButtons() {
    sbNextChange_->setEnabled(current_ + 1 < difference_.Changes);
    sbPreviousChange_->setEnabled(current_ > 0);
}

QString TfrmDifferences::SelectedText() const {
    return memoDifferences_->textCursor().selectedText();
}

} // namespace zelmox
