#include "TfrmCustomInterval.h"

#include "FixedSizeWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace zelmox {

TfrmCustomInterval::TfrmCustomInterval(QWidget* parent)
    : QDialog(parent), seInterval_(new QSpinBox), cbIntervalType_(new QComboBox) {
    setObjectName(QStringLiteral("frmCustomInterval"));
    setWindowTitle(QStringLiteral("Set Autoscan Interval"));

    seInterval_->setObjectName(QStringLiteral("seInterval"));
    seInterval_->setRange(1, 999);
    seInterval_->setValue(1);
    auto* label = new QLabel(QStringLiteral("Custom Autoscan Interval"));
    label->setBuddy(seInterval_);
    cbIntervalType_->setObjectName(QStringLiteral("cbIntervalType"));
    cbIntervalType_->setAccessibleName(QStringLiteral("Unit"));
    cbIntervalType_->addItems(
        {QStringLiteral("Minutes"), QStringLiteral("Hours"), QStringLiteral("Days")});
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("bCancel"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(seInterval_, 1, 0);
    layout->addWidget(cbIntervalType_, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    FixWindowSize(*this, QSize(ClientWidth, ClientHeight).expandedTo(sizeHint()));
    CentreOnScreen(*this);
}

int TfrmCustomInterval::Count() const {
    return seInterval_->value();
}

IntervalUnit TfrmCustomInterval::Unit() const {
    return static_cast<IntervalUnit>(cbIntervalType_->currentIndex());
}

std::optional<std::int32_t> ExecuteCustomInterval(QWidget* parent) {
    TfrmCustomInterval dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return AutoScanSchedule::CustomInterval(dialog.Count(), dialog.Unit());
}

} // namespace zelmox
